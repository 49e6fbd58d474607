// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/multimon_run.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Nothing faked: generated audio, the real multimon-ng, the bridge, and the real meldlux
// (offscreen, the sample reference data) reading it like a decoder server; plus two plain clients,
// one reading and one that never reads.
using namespace meldlux::e2e;
using namespace meldlux::decoder_test;

namespace {

const QStringList kScenario = {
    QStringLiteral("zvei 21001"),
    QStringLiteral("fms 64124411 3 0"),
    QStringLiteral("fms 94128371 2 0 damaged"), // must not show
    QStringLiteral("pocsag 1200 1234567 1 alpha Brand in der Küche, Hauptstraße"),
    QStringLiteral("zvei 22334"),
    QStringLiteral("pocsag 512 1234568 3 alpha Übung Süd"),
};

struct Bridge {
  QProcess process;
  quint16 port = freePort();

  // The pipeline waits for the go file, so the audio plays once every client is there.
  bool start(const QString& go, const QStringList& generatorOptions) {
    const QString run =
        QStringLiteral("while [ ! -e %1 ]; do sleep 0.1; done; rm -f %1; ").arg(shellQuote(go)) +
        pipeline(kScenario, generatorOptions);
    process.start(binary("meldlux-multimon"),
                  {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                   QStringLiteral("--password"), QStringLiteral("geheim"),
                   QStringLiteral("--run"), run});
    return process.waitForStarted() &&
           waitFor([&] {
             QTcpSocket probe;
             probe.connectToHost(QHostAddress::LocalHost, port);
             return probe.waitForConnected(200);
           }, 10000);
  }
  ~Bridge() {
    process.terminate();
    if (!process.waitForFinished(5000))
      process.kill();
  }
};

QStringList telegramLines(const QByteArray& bytes) {
  QStringList lines;
  for (const QByteArray& line : bytes.split('\n'))
    if (!line.trimmed().isEmpty() && !line.startsWith("#!XX!#"))
      lines << QString::fromLatin1(line.trimmed());
  return lines;
}

class BridgeEndToEnd : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(BridgeEndToEnd, GeneratedAudioShowsNamedInMeldlux) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString data = dir.filePath(QStringLiteral("data"));
  ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);
  const QString go = dir.filePath(QStringLiteral("go"));
  QStringList options;
  if (*GetParam() != '\0')
    options << QStringLiteral("--noise") << QString::fromLatin1(GetParam());
  Bridge bridge;
  ASSERT_TRUE(bridge.start(go, options));

  MeldluxRun meldlux(dir.path(),
                     QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\nPW=geheim\n"
                                    "[Einstellungen]\nAutoConnect=1\nMsgLines=8\n")
                         .arg(bridge.port));
  ASSERT_TRUE(meldlux.start({}, data));
  QTcpSocket reader;
  QTcpSocket sleeper; // connects, logs in, never reads
  for (QTcpSocket* s : {&reader, &sleeper}) {
    s->connectToHost(QHostAddress::LocalHost, bridge.port);
    ASSERT_TRUE(s->waitForConnected(5000));
    s->write("PASS:geheim\r\n");
    s->flush();
  }
  ASSERT_TRUE(waitFor([&] { return meldlux.log().contains(QStringLiteral("sent\tPASS:geheim")); },
                      30000))
      << meldlux.log().toStdString();
  QFile(go).open(QIODevice::WriteOnly);

  QByteArray received;
  const bool complete = waitFor(
      [&] {
        reader.waitForReadyRead(50);
        received += reader.readAll();
        return telegramLines(received).size() >= 5 &&
               meldlux.log().contains(QStringLiteral("1234568 [D] "));
      },
      60000);
  QThread::msleep(1500); // anything late, such as the damaged frame, would be here by now
  reader.waitForReadyRead(100);
  received += reader.readAll();
  const QString log = meldlux.log();
  meldlux.process.kill();
  meldlux.process.waitForFinished();
  EXPECT_TRUE(complete) << received.toStdString() << log.toStdString();

  const QStringList expected = {
      QStringLiteral("ZVEI\t21001"),
      QStringLiteral("FMSTlg\t64124411\t6\t4\t12\t4411\t3\t0\t0\t0\t0\t0\t0"),
      QString::fromUtf8("POC\t1234567\tB\tBrand in der Küche, Hauptstraße"),
      QStringLiteral("ZVEI\t22334"),
      QString::fromUtf8("POC\t1234568\tD\tÜbung Süd"),
  };
  const QStringList got = telegramLines(received);
  // Noise may add a made-up decode; every generated telegram must be there, in order.
  qsizetype at = 0;
  for (const QString& line : expected) {
    at = got.indexOf(line, at);
    EXPECT_GE(at, 0) << "missing: " << line.toStdString() << "\ngot:\n"
                     << got.join(u'\n').toStdString();
    at = std::max<qsizetype>(at, 0);
  }
  EXPECT_FALSE(received.contains("94128371")) << "the damaged frame was passed on";

  EXPECT_TRUE(log.contains(QStringLiteral("\t21001 Feuerwehr Musterstadt Vollalarm")))
      << log.toStdString();
  EXPECT_TRUE(log.contains(QStringLiteral("\t22334 Unbekannt"))) << log.toStdString();
  EXPECT_TRUE(log.contains(QString::fromUtf8("Flo MS 1/44-1      3 Einsatz übernommen")))
      << log.toStdString();
  EXPECT_TRUE(log.contains(
      QString::fromUtf8("1234567 [B] Feuerwehr Musterstadt Zug 1 Brand in der Küche, Hauptstraße")))
      << log.toStdString();
  EXPECT_TRUE(log.contains(QString::fromUtf8("1234568 [D] Feuerwehr Beispieldorf Info Übung Süd")))
      << log.toStdString();
  EXPECT_FALSE(log.contains(QStringLiteral("Rotkreuz"))) << log.toStdString();
  EXPECT_FALSE(log.contains(QStringLiteral("RTW"))) << log.toStdString();
}

INSTANTIATE_TEST_SUITE_P(CleanAndNoisy, BridgeEndToEnd, ::testing::Values("", "10"),
                         [](const auto& info) {
                           return std::string(*info.param ? "Noise10dB" : "Clean");
                         });
