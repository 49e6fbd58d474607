// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/clock.h"
#include "base/event_log.h"
#include "link/connection_manager.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"
#include "support/wait.h"

#include <QDate>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

using testing::waitUntil;

// The simulator lands next to the test programs; MELDLUX_BIN_DIR may point elsewhere.
QString simulatorPath() {
  const QString dir =
      qEnvironmentVariable("MELDLUX_BIN_DIR", QCoreApplication::applicationDirPath());
  return QDir(dir).filePath(QStringLiteral("meldlux-decoder-sim"));
}

// meldlux-decoder-sim as a child process on a free port; its output is collected as it comes.
class Simulator {
public:
  explicit Simulator(QStringList arguments) {
    process_.setProgram(simulatorPath());
    process_.setArguments(QStringList{"--port", QStringLiteral("0")} + arguments);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
      // Windows' console output ends its lines with CR LF; the escaped text has no CR of its own.
      output_ += QString::fromLocal8Bit(process_.readAllStandardOutput()).remove(u'\r');
    });
    process_.start();
    const QRegularExpression listening(QStringLiteral("listening on 127.0.0.1:(\\d+)"));
    waitUntil([&] {
      const auto match = listening.match(output_);
      port_ = match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
      return port_ != 0 || process_.state() == QProcess::NotRunning;
    });
  }
  ~Simulator() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(2000);
    }
  }

  quint16 port() const { return port_; }
  const QString& output() const { return output_; }
  QProcess& process() { return process_; }

private:
  QProcess process_;
  QString output_;
  quint16 port_ = 0;
};

// The program's own connection to the simulator, collecting the blocks it receives.
struct Client {
  explicit Client(quint16 port, const QString& password = {}) {
    options.setText(Text::txtSrvPort, QString::number(port));
    options.setText(Text::txtPW, password);
    QObject::connect(&manager, &ConnectionManager::blockReceived,
                     [this](const QString& block) { blocks << block; });
    manager.cmdStatus_Click();
  }
  ManualClock clock;
  EventLog log;
  Options options;
  LinkState link;
  StatusLabel status{log};
  ConnectionManager manager{options, link, status, clock, log};
  QStringList blocks;
};

class DecoderSimTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  // A plain client socket, connected (or at least connecting) to the simulator.
  void connectTo(const Simulator& sim) {
    socket_.connectToHost(QHostAddress::LocalHost, sim.port());
  }
  bool socketIs(QAbstractSocket::SocketState state) {
    return waitUntil([&] { return socket_.state() == state; });
  }
  QByteArray readAtLeast(qsizetype size) {
    QByteArray data;
    waitUntil([&] {
      data += socket_.readAll();
      return data.size() >= size;
    });
    return data;
  }
  QString scenario(const QByteArray& content) {
    const QString path = dir_.filePath(QStringLiteral("test.scenario"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
  }
  QTemporaryDir dir_;
  QTcpSocket socket_;
};

TEST_F(DecoderSimTest, PlaysAScenarioByteForByte) {
  Simulator sim({"--scenario", scenario("# comment, not sent\r\n"
                                        "ZVEI\t21345\r\n"
                                        "\n"
                                        "#!XX!#\n"
                                        "@sleep 0.05\n"
                                        "POC\t1234567\tA\tÖlspur Süd\n" // UTF-8 in the file
                                        "@raw FMS\\x80\\t\\\\\\r\n")});
  ASSERT_NE(sim.port(), 0) << sim.output().toStdString();
  connectTo(sim);
  const QByteArray expected = "ZVEI\t21345\r\n#!XX!#\r\nPOC\t1234567\tA\t\xD6lspur S\xFC"
                              "d\r\nFMS\x80\t\\\r";
  EXPECT_EQ(readAtLeast(expected.size()), expected);
}

TEST_F(DecoderSimTest, RawStepsArriveAsSeparateBlocksAtTheClient) {
  Simulator sim({"--scenario", scenario("@raw ZVEI\\t213\n@sleep 0.3\n@raw 45\\r\\n\n")});
  ASSERT_NE(sim.port(), 0);

  Client client(sim.port());
  ASSERT_TRUE(waitUntil([&] { return client.blocks.join(QString()).size() == 12; }));
  EXPECT_EQ(client.blocks, (QStringList{QStringLiteral("ZVEI\t213"), QStringLiteral("45\r\n")}));
}

TEST_F(DecoderSimTest, LogsInPrintsWhatItGetsAndClosesOnExit) {
  Simulator sim({"--password", "geheim", "--scenario", scenario("ZVEI\t25112\n")});
  ASSERT_NE(sim.port(), 0);

  Client client(sim.port(), QStringLiteral("geheim"));
  // The scenario starts only after the login.
  ASSERT_TRUE(waitUntil([&] { return client.blocks.join(QString()) == "ZVEI\t25112\r\n"; }));
  // Its output comes through a pipe and may lag behind the socket (so under Wine).
  EXPECT_TRUE(waitUntil([&] { return sim.output().contains(u"recv 1: PASS:geheim\\r\\n\n"); }));

  client.manager.cmdStatus_Click(); // connected: "Exit"
  ASSERT_TRUE(waitUntil([&] { return client.manager.isClosed(); }));
  EXPECT_EQ(client.status.caption(), QStringLiteral("Getrennt"));
  EXPECT_TRUE(waitUntil([&] { return sim.output().contains(u"recv 1: Exit\\r\\n\n"); }));
}

TEST_F(DecoderSimTest, WrongPasswordGetsNothingAndIsClosed) {
  Simulator sim({"--password", "geheim", "--scenario", scenario("ZVEI\t25112\n"), "--heartbeat",
                 QStringLiteral("0.05")});
  ASSERT_NE(sim.port(), 0);
  connectTo(sim);
  ASSERT_TRUE(socketIs(QAbstractSocket::ConnectedState));
  testing::runEventsFor(200); // heartbeats go to logged-in clients only
  EXPECT_EQ(socket_.bytesAvailable(), 0);
  socket_.write("PASS:falsch\r\n");
  ASSERT_TRUE(socketIs(QAbstractSocket::UnconnectedState));
  EXPECT_TRUE(socket_.readAll().isEmpty());
}

class GeneratedTraffic : public DecoderSimTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(GeneratedTraffic, FillsEveryFieldOfItsFormat) {
  const QByteArray format = GetParam();
  Simulator sim({"--rate", "400", "--duration", "0.5", "--format", format});
  ASSERT_NE(sim.port(), 0);
  connectTo(sim);
  QByteArray data;
  ASSERT_TRUE(waitUntil([&] {
    data += socket_.readAll();
    return data.count("\r\n") >= 200;
  }));
  testing::runEventsFor(100);
  data += socket_.readAll();
  ASSERT_TRUE(data.endsWith("\r\n"));
  QList<QByteArray> lines = data.split('\n');
  lines.removeLast();
  EXPECT_EQ(lines.size(), 200);

  // Dated now (a run across midnight may still carry yesterday's date).
  QStringList dates;
  for (int day : {0, -1})
    dates << "#!XX!#" + QDate::currentDate().addDays(day).toString(QStringLiteral("dd.MM.yy"));
  const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
  int tab = 0, marker = 0;
  for (QByteArray line : lines) {
    SCOPED_TRACE(line.constData());
    ASSERT_TRUE(line.endsWith('\r'));
    line.chop(1);
    if (line.startsWith("#!XX!#")) {
      ++marker;
      const QStringList f = QString::fromLatin1(line).split(QStringLiteral("#![]!#"));
      ASSERT_TRUE(f.size() == 11 || f.size() == 12);
      EXPECT_TRUE(dates.contains(f[0]));
      EXPECT_TRUE(time.match(f[1]).hasMatch());
      for (int i = 2; i <= 10; ++i)
        EXPECT_FALSE(f[i].isEmpty());
      EXPECT_LE(f[3].toInt(), 18);
      if (f[3].toInt() == 17) {
        EXPECT_EQ(f[2].size(), 8); // seven-digit RIC and one function letter
      }
      continue;
    }
    ++tab;
    const QList<QByteArray> f = line.split('\t');
    if (f[0] == "FMSTlg") {
      ASSERT_EQ(f.size(), 14);
      EXPECT_EQ(f[1].size(), 8);
      EXPECT_LE(f[6].toInt(), 18);
      EXPECT_TRUE(f[8] == "0" || f[8] == "1");
    } else if (f[0] == "POC") {
      ASSERT_GE(f.size(), 4);
      EXPECT_EQ(f[1].size(), 7);
      EXPECT_FALSE(f[3].isEmpty());
    } else {
      ASSERT_EQ(f[0], "ZVEI");
      EXPECT_EQ(f[1].size(), 5);
    }
  }
  EXPECT_EQ(tab > 0, format != "marker");
  EXPECT_EQ(marker > 0, format != "tab");
}

INSTANTIATE_TEST_SUITE_P(Formats, GeneratedTraffic, ::testing::Values("tab", "marker", "mixed"));

TEST_F(DecoderSimTest, StopsCleanlyOnSigterm) {
#if defined(Q_OS_WIN)
  GTEST_SKIP() << "QProcess::terminate() on Windows posts WM_CLOSE, which a console program "
                  "without a window never gets; there is no SIGTERM to send";
#endif
  Simulator sim({});
  ASSERT_NE(sim.port(), 0);
  connectTo(sim);
  ASSERT_TRUE(socketIs(QAbstractSocket::ConnectedState));
  sim.process().terminate(); // SIGTERM
  ASSERT_TRUE(waitUntil([&] { return sim.process().state() == QProcess::NotRunning; }));
  EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.process().exitCode(), 0);
  EXPECT_TRUE(socketIs(QAbstractSocket::UnconnectedState));
}

TEST_F(DecoderSimTest, RefusesABrokenScenarioWithItsLineNumber) {
  const QString path = scenario("ZVEI\t1\n@sleep soon\n");
  QProcess process;
  process.start(simulatorPath(), {"--port", QStringLiteral("0"), "--scenario", path});
  ASSERT_TRUE(process.waitForFinished(5000));
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_TRUE(process.readAllStandardError().contains("line 2"));
}

} // namespace
} // namespace meldlux
