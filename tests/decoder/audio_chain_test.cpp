// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/multimon_run.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
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

// The station's meldlux, logged in to the bridge with the password "geheim".
bool loggedIn(MeldluxRun& meldlux) {
  return meldlux.start({}, {}) &&
         waitFor([&] { return meldlux.logged(QStringLiteral("sent\tPASS:geheim\\r\\n")); }, 30000);
}

// An audio command that runs `firstTime` once, leaving `mark` behind; started again, it writes
// audio on and on.
QString onceThenAudio(const QString& mark, const char* firstTime) {
  return QStringLiteral("if [ -e %1 ]; then while :; do head -c 4000 /dev/zero; sleep 0.1; done; "
                        "fi; touch %1; %2")
      .arg(shellQuote(mark), QLatin1String(firstTime));
}

QString stationOf(const BridgeRun& bridge) {
  return QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\nPW=geheim\n"
                        "[Einstellungen]\nAutoConnect=1\n")
      .arg(bridge.port);
}

} // namespace

TEST(AudioChain, ASourceThatEndsIsStartedAgainAndTheHeartbeatSaysTheReceiverIsDownMeanwhile) {
  QTemporaryDir dir;
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  // Ends at once the first time; started again, it goes on.
  ASSERT_TRUE(
      bridge.start({QStringLiteral("--audio"),
                    onceThenAudio(dir.filePath(QStringLiteral("again")), "head -c 4000 /dev/zero"),
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

// A source gone silent that ignores the request to end is killed a while later; meanwhile the
// bridge's heartbeats go on, so no station thinks its server silent.
TEST(AudioChain, ASilentSourceDeafToTheRequestToEndHoldsNoHeartbeat) {
  QTemporaryDir dir;
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  ASSERT_TRUE(bridge.start({QStringLiteral("--audio"),
                            onceThenAudio(dir.filePath(QStringLiteral("again")),
                                          "trap '' TERM; head -c 4000 /dev/zero; sleep 60"),
                            QStringLiteral("--audio-timeout"), QStringLiteral("1"),
                            QStringLiteral("--heartbeat"), QStringLiteral("0.2")}));
  LineClient heartbeats; // a client of its own, timing the bridge's heartbeats
  ASSERT_TRUE(heartbeats.connectTo(bridge.port));
  const auto said = [&](const QString& text) {
    return waitFor(
        [&] {
          heartbeats.lines();
          return bridge.errors().contains(text);
        },
        15000);
  };
  EXPECT_TRUE(said(QStringLiteral("no audio from the source; starting it again")))
      << bridge.errors().toStdString();
  EXPECT_TRUE(said(QStringLiteral("the receiver's audio reaches multimon-ng again")))
      << bridge.errors().toStdString();
  EXPECT_LT(heartbeats.longestHeartbeatGap(), 1500) << "between two heartbeats of 0.2 s";
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
  MeldluxRun meldlux(dir.path(), stationOf(bridge));
  ASSERT_TRUE(loggedIn(meldlux)) << meldlux.log().toStdString();
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

// multimon-ng killed, then one that stops reading, behind the real bridge: each is started again
// with its stderr line, the source left alone, and the station's meldlux warns of each through the
// heartbeat and says when it works again; the bridge's heartbeats go on meanwhile, so the station
// never thinks its server silent.
TEST(AudioChain, AKilledOrStoppedMultimonIsStartedAgainAndReachesTheStationsStrip) {
  QTemporaryDir dir;
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  ASSERT_TRUE(bridge.start({QStringLiteral("--audio"),
                            QStringLiteral("while :; do head -c 8000 /dev/zero; sleep 0.1; done"),
                            QStringLiteral("--audio-timeout"), QStringLiteral("2"),
                            QStringLiteral("--heartbeat"), QStringLiteral("0.5"),
                            QStringLiteral("--password"), QStringLiteral("geheim")}));
  MeldluxRun meldlux(dir.path(), stationOf(bridge));
  ASSERT_TRUE(loggedIn(meldlux)) << meldlux.log().toStdString();
  // After the version question, which is a multimon-ng of its own.
  ASSERT_TRUE(bridge.said(QStringLiteral("hands the audio on"), 10000));
  LineClient heartbeats; // a second client, timing the bridge's heartbeats
  ASSERT_TRUE(heartbeats.connectTo(bridge.port, "geheim"));
  const auto beat = [&] { heartbeats.lines(); };
  const auto count = [&](const QString& line) {
    beat();
    return meldlux.log().count(line);
  };
  const auto said = [&](const QString& text) {
    return waitFor(
        [&] {
          beat();
          return bridge.errors().contains(text);
        },
        15000);
  };

  const QString warning = QStringLiteral("supervision\twarning\treceiver\tEmpfänger gestört seit ");
  const QString recovery = QStringLiteral("supervision\trecovery\treceiver\t");
  pid_t decoder = 0;
  for (const int signal : {SIGKILL, SIGSTOP}) { // SIGSTOP: alive, but reads nothing
    const pid_t before = decoder;
    ASSERT_TRUE(waitFor(
        [&] {
          beat();
          return (decoder = decoderOf(bridge.process)) > 0 && decoder != before;
        },
        10000));
    const qsizetype warnings = count(warning), recoveries = count(recovery);
    ::kill(decoder, signal);
    QElapsedTimer dead;
    dead.start();
    EXPECT_TRUE(said(signal == SIGKILL
                         ? QStringLiteral("multimon-ng ended; starting it again in 1 s")
                         : QStringLiteral("multimon-ng does not read its audio; starting")))
        << bridge.errors().toStdString();
    EXPECT_TRUE(waitFor([&] { return count(warning) > warnings; }, 30000))
        << meldlux.log().toStdString() << bridge.errors().toStdString();
    std::cout << (signal == SIGKILL ? "multimon-ng killed" : "multimon-ng stopped")
              << " to the warning: " << dead.elapsed() << " ms\n";
    EXPECT_TRUE(waitFor([&] { return count(recovery) > recoveries; }, 20000))
        << meldlux.log().toStdString() << bridge.errors().toStdString();
  }
  if (decoderOf(bridge.process) == decoder)
    ::kill(decoder, SIGKILL); // the bridge should have ended it
  // Only the first multimon-ng's own end; the source ran on.
  EXPECT_EQ(bridge.errors().count(QStringLiteral("ended")), 1) << bridge.errors().toStdString();
  EXPECT_EQ(count(QStringLiteral("supervision\twarning\tsilence\t")), 0)
      << meldlux.log().toStdString();
  EXPECT_LT(heartbeats.longestHeartbeatGap(), 2000) << "between two heartbeats of 0.5 s";
  meldlux.process.kill();
  meldlux.process.waitForFinished();
}
