// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/multimon_run.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>

// The real bridge's chain (--audio) with the real multimon-ng, its parts failing: each is started
// again, with one stderr line (a silent source: the mqtt test of a station's heartbeat).
using namespace meldlux::e2e;
using namespace meldlux::decoder_test;

namespace {

// The bridge's child running multimon-ng, 0 when there is none.
pid_t decoderOf(QProcess& bridge) {
  QProcess pgrep;
  pgrep.start(QStringLiteral("pgrep"), {QStringLiteral("-P"), QString::number(bridge.processId()),
                                        QStringLiteral("-x"), QStringLiteral("multimon-ng")});
  pgrep.waitForFinished(5000);
  return pid_t(pgrep.readAllStandardOutput().trimmed().toInt());
}

} // namespace

TEST(AudioChain, AKilledOrStoppedMultimonIsStartedAgainAndTheSourceLeftAlone) {
  QTemporaryDir dir;
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  ASSERT_TRUE(bridge.start({QStringLiteral("--audio"),
                            QStringLiteral("while :; do head -c 8000 /dev/zero; sleep 0.1; done"),
                            QStringLiteral("--audio-timeout"), QStringLiteral("1")}));
  // After the version question, which is a multimon-ng of its own.
  ASSERT_TRUE(bridge.said(QStringLiteral("hands the audio on"), 10000));
  pid_t first = 0, second = 0;
  ASSERT_TRUE(waitFor([&] { return (first = decoderOf(bridge.process)) > 0; }, 5000));
  ::kill(first, SIGKILL);
  EXPECT_TRUE(bridge.said(QStringLiteral("multimon-ng ended; starting it again in 1 s"), 5000))
      << bridge.errors().toStdString();

  ASSERT_TRUE(
      waitFor([&] { return (second = decoderOf(bridge.process)) > 0 && second != first; }, 5000));
  ::kill(second, SIGSTOP); // alive, but reads nothing
  EXPECT_TRUE(
      bridge.said(QStringLiteral("multimon-ng does not read its audio; starting it again"), 15000))
      << bridge.errors().toStdString();
  ::kill(second, SIGKILL); // the bridge's own end of it must have come first
  EXPECT_EQ(bridge.errors().count(QStringLiteral("ended")), 1) << bridge.errors().toStdString();
}

TEST(AudioChain, ASourceThatEndsIsStartedAgainAndTheHeartbeatSaysTheReceiverIsDownMeanwhile) {
  QTemporaryDir dir;
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  // Ends at once the first time; started again, it goes on.
  const QString again = dir.filePath(QStringLiteral("again"));
  ASSERT_TRUE(bridge.start(
      {QStringLiteral("--audio"),
       QStringLiteral("if [ -e %1 ]; then while :; do head -c 4000 /dev/zero; sleep 0.1; done; fi; "
                      "touch %1; head -c 4000 /dev/zero")
           .arg(shellQuote(again)),
       QStringLiteral("--heartbeat"), QStringLiteral("0.2")}));
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, bridge.port);
  ASSERT_TRUE(client.waitForConnected(5000));
  EXPECT_TRUE(
      bridge.said(QStringLiteral("the audio source ended; starting it again in 1 s"), 10000) &&
      bridge.said(QStringLiteral("the receiver's audio reaches multimon-ng again"), 5000))
      << bridge.errors().toStdString();

  QByteArray heard; // down while the source was away, ok again once its audio came
  EXPECT_TRUE(waitFor(
      [&] {
        client.waitForReadyRead(50);
        heard += client.readAll();
        return heard.indexOf("\n#!XX!# meldlux interval=0.2 receiver=ok\r",
                             heard.indexOf("\n#!XX!# meldlux interval=0.2 receiver=down since=")) >
               0;
      },
      5000))
      << heard.toStdString();
}

// The receiver's plug is pulled behind the real bridge: the station's meldlux says so at once,
// through the bridge's heartbeat, in the strip, the warning sound and the tray, and says when it
// works again.
TEST(AudioChain, ADeadReceiverReachesTheStationsStripThroughTheHeartbeat) {
  QTemporaryDir dir;
  const QString pull = dir.filePath(QStringLiteral("pull"));
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  // Audio until the plug is pulled; started again after the back-off, it goes on.
  ASSERT_TRUE(bridge.start(
      {QStringLiteral("--audio"),
       QStringLiteral("while [ ! -e %1 ]; do head -c 4000 /dev/zero; sleep 0.1; done; rm -f %1")
           .arg(shellQuote(pull)),
       QStringLiteral("--heartbeat"), QStringLiteral("0.5"), QStringLiteral("--password"),
       QStringLiteral("geheim")}));
  MeldluxRun meldlux(dir.path(), QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\nPW=geheim\n"
                                                "[Einstellungen]\nAutoConnect=1\n")
                                     .arg(bridge.port));
  ASSERT_TRUE(meldlux.start({}, {}));
  ASSERT_TRUE(
      waitFor([&] { return meldlux.logged(QStringLiteral("sent\tPASS:geheim\\r\\n")); }, 30000))
      << meldlux.log().toStdString();
  QFile(pull).open(QIODevice::WriteOnly);
  QElapsedTimer pulled;
  pulled.start();

  const auto logged = [&](const QString& line) {
    return waitFor([&] { return meldlux.log().contains(line); }, 20000);
  };
  EXPECT_TRUE(logged(QStringLiteral("supervision\twarning\treceiver\tEmpfänger gestört seit ")))
      << meldlux.log().toStdString() << bridge.errors().toStdString();
  std::cout << "audio source dead to the warning: " << pulled.elapsed() << " ms\n";
  EXPECT_TRUE(waitFor(
      [&] {
        return meldlux.log().contains(
            QRegularExpression(QStringLiteral("\nmessage\t[^\n]*Empfänger gestört seit ")));
      },
      5000));
  EXPECT_TRUE(logged(QStringLiteral("tray\tmodify\tEmpfänger gestört seit ")));
  EXPECT_TRUE(logged(QStringLiteral("/stoerung.wav\n")));
  EXPECT_TRUE(logged(QStringLiteral("supervision\trecovery\treceiver\t")))
      << meldlux.log().toStdString() << bridge.errors().toStdString();
  meldlux.process.kill();
  meldlux.process.waitForFinished();
}
