#include "base/clock.h"
#include "base/event_log.h"
#include "link/connection_manager.h"
#include "link/link_state.h"
#include "link/status_label.h"
#include "link/wait.h"
#include "settings/options.h"

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
      output_ += QString::fromLocal8Bit(process_.readAllStandardOutput());
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

QString writeFile(const QTemporaryDir& dir, const QByteArray& content) {
  const QString path = dir.filePath(QStringLiteral("test.scenario"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(content);
  return path;
}

QByteArray readFrom(QTcpSocket& socket, qsizetype size) {
  QByteArray data;
  waitUntil([&] {
    data += socket.readAll();
    return data.size() >= size;
  });
  return data;
}

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
  QTemporaryDir dir_;
};

TEST_F(DecoderSimTest, PlaysAScenarioByteForByte) {
  const QString path = writeFile(dir_, "# comment, not sent\r\n"
                                       "ZVEI\t21345\r\n"
                                       "\n"
                                       "#!XX!#\n"
                                       "@sleep 0.05\n"
                                       "POC\t1234567\tA\tÖlspur Süd\n" // UTF-8 in the file
                                       "@raw FMS\\x80\\t\\\\\\r\n");
  Simulator sim({"--scenario", path});
  ASSERT_NE(sim.port(), 0) << sim.output().toStdString();
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, sim.port());
  const QByteArray expected = "ZVEI\t21345\r\n#!XX!#\r\nPOC\t1234567\tA\t\xD6lspur S\xFC"
                              "d\r\nFMS\x80\t\\\r";
  EXPECT_EQ(readFrom(socket, expected.size()), expected);
}

TEST_F(DecoderSimTest, RawStepsArriveAsSeparateBlocksAtTheClient) {
  const QString path = writeFile(dir_, "@raw ZVEI\\t213\n@sleep 0.3\n@raw 45\\r\\n\n");
  Simulator sim({"--scenario", path});
  ASSERT_NE(sim.port(), 0);

  Client client(sim.port());
  ASSERT_TRUE(waitUntil([&] { return client.blocks.join(QString()).size() == 12; }));
  EXPECT_EQ(client.blocks, (QStringList{QStringLiteral("ZVEI\t213"), QStringLiteral("45\r\n")}));
}

TEST_F(DecoderSimTest, LogsInPrintsWhatItGetsAndClosesOnExit) {
  const QString path = writeFile(dir_, "ZVEI\t25112\n");
  Simulator sim({"--password", QStringLiteral("geheim"), "--scenario", path});
  ASSERT_NE(sim.port(), 0);

  Client client(sim.port(), QStringLiteral("geheim"));
  // The scenario starts only after the login.
  ASSERT_TRUE(waitUntil([&] { return client.blocks.join(QString()) == "ZVEI\t25112\r\n"; }));
  EXPECT_TRUE(sim.output().contains(QStringLiteral("recv 1: PASS:geheim\\r\\n\n")));

  client.manager.cmdStatus_Click(); // connected: "Exit"
  ASSERT_TRUE(waitUntil([&] { return client.manager.isClosed(); }));
  EXPECT_EQ(client.status.caption(), QStringLiteral("Getrennt"));
  EXPECT_TRUE(sim.output().contains(QStringLiteral("recv 1: Exit\\r\\n\n")));
}

TEST_F(DecoderSimTest, WrongPasswordGetsNothingAndIsClosed) {
  const QString path = writeFile(dir_, "ZVEI\t25112\n");
  Simulator sim({"--password", QStringLiteral("geheim"), "--scenario", path, "--heartbeat",
                 QStringLiteral("0.05")});
  ASSERT_NE(sim.port(), 0);
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, sim.port());
  ASSERT_TRUE(waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }));
  testing::runEventsFor(200); // heartbeats go to logged-in clients only
  EXPECT_EQ(socket.bytesAvailable(), 0);
  socket.write("PASS:falsch\r\n");
  ASSERT_TRUE(waitUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_TRUE(socket.readAll().isEmpty());
}

struct Generated {
  const char* format;
};

class GeneratedTraffic : public DecoderSimTest, public ::testing::WithParamInterface<Generated> {};

TEST_P(GeneratedTraffic, FillsEveryFieldOfItsFormat) {
  Simulator sim({"--rate", QStringLiteral("400"), "--duration", QStringLiteral("0.5"), "--format",
                 QString::fromLatin1(GetParam().format)});
  ASSERT_NE(sim.port(), 0);
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, sim.port());
  QByteArray data;
  ASSERT_TRUE(waitUntil([&] {
    data += socket.readAll();
    return data.count("\r\n") >= 200;
  }));
  testing::runEventsFor(100);
  data += socket.readAll();
  ASSERT_TRUE(data.endsWith("\r\n"));
  QList<QByteArray> lines = data.split('\n');
  lines.removeLast();
  EXPECT_EQ(lines.size(), 200);

  const QByteArray today = QDate::currentDate().toString(QStringLiteral("dd.MM.yy")).toLatin1();
  const QByteArray yesterday =
      QDate::currentDate().addDays(-1).toString(QStringLiteral("dd.MM.yy")).toLatin1();
  int tab = 0;
  int marker = 0;
  for (QByteArray line : lines) {
    ASSERT_TRUE(line.endsWith('\r'));
    line.chop(1);
    if (line.startsWith("#!XX!#")) {
      ++marker;
      const QStringList fields = QString::fromLatin1(line).split(QStringLiteral("#![]!#"));
      ASSERT_GE(fields.size(), 11) << line.constData();
      EXPECT_LE(fields.size(), 12);
      // Dated now (a run across midnight may still carry yesterday's date).
      EXPECT_TRUE(fields[0].toLatin1() == "#!XX!#" + today ||
                  fields[0].toLatin1() == "#!XX!#" + yesterday)
          << line.constData();
      EXPECT_TRUE(
          QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(fields[1]).hasMatch());
      for (int i = 2; i <= 10; ++i)
        EXPECT_FALSE(fields[i].isEmpty()) << line.constData();
      const int type = fields[3].toInt();
      EXPECT_TRUE(type <= 18) << line.constData();
      if (type == 17) {
        EXPECT_EQ(fields[2].size(), 8); // seven-digit RIC and one function letter
      }
    } else {
      ++tab;
      const QList<QByteArray> f = line.split('\t');
      if (f[0] == "FMSTlg") {
        ASSERT_EQ(f.size(), 14) << line.constData();
        EXPECT_EQ(f[1].size(), 8);
        EXPECT_LE(f[6].toInt(), 18);
        EXPECT_TRUE(f[8] == "0" || f[8] == "1");
      } else if (f[0] == "POC") {
        ASSERT_GE(f.size(), 4);
        EXPECT_EQ(f[1].size(), 7);
        EXPECT_FALSE(f[3].isEmpty());
      } else {
        ASSERT_EQ(f[0], "ZVEI") << line.constData();
        EXPECT_EQ(f[1].size(), 5);
      }
    }
  }
  const QByteArray format = GetParam().format;
  EXPECT_EQ(tab > 0, format != "marker");
  EXPECT_EQ(marker > 0, format != "tab");
}

INSTANTIATE_TEST_SUITE_P(Formats, GeneratedTraffic,
                         ::testing::Values(Generated{"tab"}, Generated{"marker"},
                                           Generated{"mixed"}));

TEST_F(DecoderSimTest, StopsCleanlyOnSigterm) {
  Simulator sim({});
  ASSERT_NE(sim.port(), 0);
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, sim.port());
  ASSERT_TRUE(waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }));
  sim.process().terminate(); // SIGTERM
  ASSERT_TRUE(waitUntil([&] { return sim.process().state() == QProcess::NotRunning; }));
  EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.process().exitCode(), 0);
  EXPECT_TRUE(waitUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; }));
}

TEST_F(DecoderSimTest, RefusesABrokenScenarioWithItsLineNumber) {
  const QString path = writeFile(dir_, "ZVEI\t1\n@sleep soon\n");
  QProcess process;
  process.start(simulatorPath(), {"--port", QStringLiteral("0"), "--scenario", path});
  ASSERT_TRUE(process.waitForFinished(5000));
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_TRUE(process.readAllStandardError().contains("line 2"));
}

} // namespace
} // namespace meldlux
