// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/e2e_support.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The bridge as a server under faults, fed multimon-ng lines on its standard input.
using namespace meldlux::e2e;

namespace {

struct Bridge {
  QProcess process;
  quint16 port = 0;

  explicit Bridge(QStringList options) {
    {
      QTcpServer probe;
      probe.listen(QHostAddress::LocalHost, 0);
      port = probe.serverPort();
    }
    process.start(
        binary("meldlux-multimon"),
        QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)} +
            options);
    process.waitForStarted();
    waitFor(
        [&] {
          QTcpSocket probe;
          probe.connectToHost(QHostAddress::LocalHost, port);
          return probe.waitForConnected(200);
        },
        10000);
  }
  ~Bridge() {
    process.terminate();
    if (!process.waitForFinished(5000))
      process.kill();
  }
  void feed(const QByteArray& lines) {
    process.write(lines);
    process.waitForBytesWritten(3000);
  }
  QString errors() {
    process.waitForReadyRead(10);
    return QString::fromLocal8Bit(process.readAllStandardError());
  }
};

bool closedWithin(QTcpSocket& socket, int ms) {
  return socket.state() == QAbstractSocket::UnconnectedState || socket.waitForDisconnected(ms);
}

} // namespace

TEST(LineServer, WrongOrMissingPasswordClosesThatClientOnly) {
  Bridge bridge({QStringLiteral("--password"), QStringLiteral("geheim")});
  QTcpSocket good, wrong, missing, exiting;
  for (QTcpSocket* s : {&good, &wrong, &missing, &exiting}) {
    s->connectToHost(QHostAddress::LocalHost, bridge.port);
    ASSERT_TRUE(s->waitForConnected(5000));
  }
  good.write("PASS:geheim\r\n");
  wrong.write("PASS:falsch\r\n");
  missing.write("ZVEI\t12345\r\n");
  exiting.write("PASS:geheim\r\nExit\r\n");
  for (QTcpSocket* s : {&good, &wrong, &missing, &exiting})
    s->flush();
  EXPECT_TRUE(closedWithin(wrong, 3000)) << "wrong password";
  EXPECT_TRUE(closedWithin(missing, 3000)) << "no password";
  EXPECT_TRUE(closedWithin(exiting, 3000)) << "Exit";
  bridge.feed("ZVEI1: 2E3E4\n");
  ASSERT_TRUE(good.waitForReadyRead(3000));
  EXPECT_EQ(good.readAll(), QByteArray("ZVEI\t22334\r\n"));
  EXPECT_EQ(good.state(), QAbstractSocket::ConnectedState);
}

TEST(LineServer, ClientThatStopsReadingIsClosedWithoutHoldingUpTheOther) {
  Bridge bridge({QStringLiteral("--queue"), QStringLiteral("64"), QStringLiteral("--heartbeat"),
                 QStringLiteral("0")});
  QTcpSocket reader, sleeper;
  for (QTcpSocket* s : {&reader, &sleeper}) {
    s->connectToHost(QHostAddress::LocalHost, bridge.port);
    ASSERT_TRUE(s->waitForConnected(5000));
  }
  QThread::msleep(200); // both accepted before the lines come
  // Far more than the kernel's socket buffers and the queue together hold.
  const int lines = 200000;
  QByteArray block;
  for (int i = 0; i < 1000; ++i)
    block += "POCSAG1200: Address: 1234567  Function: 1  Alpha:   Probealarm der Feuerwehr "
             "Musterstadt mit einem langen Text<EOT>\n";
  qint64 received = 0;
  const QByteArray expectedLine =
      "POC\t1234567\tB\tProbealarm der Feuerwehr Musterstadt mit einem langen Text\r\n";
  for (int i = 0; i < lines / 1000; ++i) {
    bridge.process.write(block);
    while (bridge.process.bytesToWrite() > 0) {
      bridge.process.waitForBytesWritten(50);
      reader.waitForReadyRead(5);
      received += reader.readAll().size();
    }
  }
  const bool all = waitFor(
      [&] {
        reader.waitForReadyRead(20);
        received += reader.readAll().size();
        return received >= qint64(lines) * expectedLine.size();
      },
      20000);
  EXPECT_TRUE(all) << received << " bytes of " << qint64(lines) * expectedLine.size();
  EXPECT_EQ(received, qint64(lines) * expectedLine.size());
  EXPECT_TRUE(closedWithin(sleeper, 3000)) << "the client that never read is still served";
  EXPECT_EQ(bridge.errors().count(QStringLiteral("does not read, closing it")), 1);
}

TEST(LineServer, ManyClientsComeAndGoAndOneLeavingMidLineHurtsNoOne) {
  Bridge bridge({QStringLiteral("--heartbeat"), QStringLiteral("0.05")});
  for (int round = 0; round < 100; ++round) {
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, bridge.port);
    ASSERT_TRUE(s.waitForConnected(5000)) << "client " << round;
    if (round % 2 == 0) {
      s.write("PAS"); // gone in the middle of its line
      s.flush();
    }
    s.abort();
  }
  QTcpSocket last;
  last.connectToHost(QHostAddress::LocalHost, bridge.port);
  ASSERT_TRUE(last.waitForConnected(5000));
  QThread::msleep(100);
  bridge.feed("ZVEI1: 21001\n");
  QByteArray got;
  EXPECT_TRUE(waitFor(
      [&] {
        last.waitForReadyRead(20);
        got += last.readAll();
        return got.contains("ZVEI\t21001\r\n");
      },
      5000))
      << got.toStdString();
  EXPECT_TRUE(got.contains("#!XX!#\r\n"));
  EXPECT_EQ(bridge.process.state(), QProcess::Running);
}

TEST(LineServer, PipelineThatDiesIsStartedAgain) {
  QTemporaryDir dir;
  const QString count = dir.filePath(QStringLiteral("runs"));
  Bridge bridge({QStringLiteral("--run"),
                 QStringLiteral("echo run >> '%1'; echo 'ZVEI1: 21001'; exit 1").arg(count)});
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, bridge.port);
  ASSERT_TRUE(client.waitForConnected(5000));
  QByteArray got;
  // The first run may come before the client; the pauses are 1 s, then 2 s.
  EXPECT_TRUE(waitFor(
      [&] {
        client.waitForReadyRead(20);
        got += client.readAll();
        return got.count("ZVEI\t21001\r\n") >= 2 &&
               readAll(count).count(QStringLiteral("run")) >= 3;
      },
      15000))
      << got.toStdString() << readAll(count).toStdString();
  bridge.process.terminate();
  EXPECT_TRUE(bridge.process.waitForFinished(5000));
  EXPECT_EQ(bridge.process.exitCode(), 0);
  EXPECT_TRUE(bridge.errors().contains(QStringLiteral("telegrams")));
}
