// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/multimon_run.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

// The real bridge running its receiver's chain (--audio) with the real multimon-ng, and the
// chain's parts failing one by one: each is started again, with one stderr line.
using namespace meldlux::e2e;
using namespace meldlux::decoder_test;

namespace {

// The process ids of the bridge's children that run this program.
QList<pid_t> children(qint64 parent, const QString& name) {
  QList<pid_t> found;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
    if (!stat.open(QIODevice::ReadOnly))
      continue;
    // pid (comm) state ppid ...
    const QString text = QString::fromLatin1(stat.readAll());
    const qsizetype close = text.lastIndexOf(u')');
    const QStringList after = text.mid(close + 2).split(u' ');
    if (text.section(u'(', 1).section(u')', 0, 0) == name && after.size() > 1 &&
        after[1].toLongLong() == parent)
      found << pid_t(entry.toInt());
  }
  return found;
}

} // namespace

TEST(AudioChain, ASourceThatFallsSilentIsStartedAgain) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // A little audio, then nothing: silent, not ended.
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  ASSERT_TRUE(bridge.start({QStringLiteral("--audio"),
                            QStringLiteral("head -c 44100 /dev/zero; exec sleep 600"),
                            QStringLiteral("--audio-timeout"), QStringLiteral("1")}));
  EXPECT_TRUE(bridge.said(QStringLiteral("in blocks of 4000 bytes"), 5000))
      << bridge.errors().toStdString();
  EXPECT_TRUE(bridge.said(QStringLiteral("no audio from the source; starting it again in 1 s"),
                          10000))
      << bridge.errors().toStdString();
  EXPECT_FALSE(bridge.errors().contains(QStringLiteral("multimon-ng")) &&
               bridge.errors().contains(QStringLiteral("ended")))
      << bridge.errors().toStdString();
}

TEST(AudioChain, AKilledOrStoppedMultimonIsStartedAgainAndTheSourceLeftAlone) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  BridgeRun bridge(dir.filePath(QStringLiteral("bridge.err")));
  ASSERT_TRUE(bridge.start({QStringLiteral("--audio"),
                            QStringLiteral("while :; do head -c 8000 /dev/zero; sleep 0.1; done"),
                            QStringLiteral("--audio-timeout"), QStringLiteral("1")}));
  // After the version question, which is a multimon-ng of its own.
  ASSERT_TRUE(bridge.said(QStringLiteral("hands the audio on"), 10000));
  const auto decoder = [&] {
    QList<pid_t> found;
    waitFor([&] { return !(found = children(bridge.process.processId(),
                                            QStringLiteral("multimon-ng"))).isEmpty(); },
            5000);
    return found.value(0, 0);
  };
  const pid_t first = decoder();
  ASSERT_GT(first, 0);
  ::kill(first, SIGKILL);
  EXPECT_TRUE(bridge.said(QStringLiteral("multimon-ng ended; starting it again in 1 s"), 5000))
      << bridge.errors().toStdString();

  QThread::msleep(1500);
  const pid_t second = decoder();
  ASSERT_GT(second, 0);
  EXPECT_NE(second, first);
  ::kill(second, SIGSTOP); // alive, but reads nothing
  EXPECT_TRUE(bridge.said(QStringLiteral("multimon-ng does not read its audio; starting it again"),
                          15000))
      << bridge.errors().toStdString();
  ::kill(second, SIGKILL); // the bridge's own end of it must have come first
  const QString said = bridge.errors();
  EXPECT_EQ(said.count(QStringLiteral("multimon-ng ended")), 1) << said.toStdString();
  EXPECT_FALSE(said.contains(QStringLiteral("audio source"))) << said.toStdString();
  EXPECT_FALSE(said.contains(QStringLiteral("no audio"))) << said.toStdString();
}

TEST(AudioChain, ASourceThatEndsIsStartedAgainAndTheHeartbeatSaysTheReceiverIsDownMeanwhile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
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
  EXPECT_TRUE(bridge.said(QStringLiteral("the audio source ended; starting it again in 1 s"),
                          10000))
      << bridge.errors().toStdString();
  EXPECT_TRUE(bridge.said(QStringLiteral("the receiver's audio reaches multimon-ng again"), 5000))
      << bridge.errors().toStdString();

  QByteArray heard;
  waitFor([&] {
    client.waitForReadyRead(50);
    heard += client.readAll();
    return heard.contains("receiver=down") &&
           heard.indexOf("receiver=ok", heard.indexOf("receiver=down")) > 0;
  }, 5000);
  static const QRegularExpression down(QStringLiteral(
      "^#!XX!# meldlux interval=0.2 receiver=down since=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d"
      "[+-]\\d\\d:\\d\\d\\r$"),
      QRegularExpression::MultilineOption);
  EXPECT_TRUE(down.match(QString::fromLatin1(heard)).hasMatch()) << heard.toStdString();
  // Down while the source was away, ok again once its audio came.
  EXPECT_GT(heard.indexOf("receiver=ok", heard.indexOf("receiver=down")), 0) << heard.toStdString();
}
