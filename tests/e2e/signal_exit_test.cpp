// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/e2e_support.h"

#include <QTcpServer>
#include <QTemporaryDir>

// A terminated meldlux ends the way closing its main window does: settings saved, tray icon
// removed, goodbye lines to the server. The lock mode does not stand in its way.
using namespace meldlux::e2e;

TEST(SignalExit, TermSavesRemovesTheIconAndSaysGoodbyeEvenUnderLock) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  MeldluxRun meldlux(dir.path(), autoConnectSettings(server.serverPort()));
  ASSERT_TRUE(meldlux.start({QStringLiteral("/l2")}));

  // The first connection check comes about 4 s after start.
  ASSERT_TRUE(server.waitForNewConnection(15000));
  QTcpSocket* client = server.nextPendingConnection();
  waitFor([&] { return meldlux.log().contains(QStringLiteral("sent\tPASS:")); }, 5000);

  meldlux.process.terminate(); // SIGTERM
  ASSERT_TRUE(meldlux.process.waitForFinished(10000));
  EXPECT_EQ(meldlux.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(meldlux.process.exitCode(), 0);

  expectOrderlyEnd(meldlux.log(), *client);
  EXPECT_TRUE(meldlux.logged(QStringLiteral("tray\tadd\tmeldlux")));
  EXPECT_TRUE(meldlux.logged(QStringLiteral("tray\tmodify\tFMS Meldlux")));
  EXPECT_TRUE(meldlux.settings().contains(QStringLiteral("FormVisible=0"))); // "/l2" kept it hidden
}

// A reference file that raises a loader's box: start-up waits in the box's modal loop, which
// lets no timer connect meanwhile, and a SIGTERM there ends the program in the same order.
TEST(SignalExit, TermWhileAStartUpBoxIsOpenEndsTheProgramInOrder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Neither is a whole number of records: each raises its loader's box.
  for (const auto& [name, size] : {std::pair{"Fahrzeug.Dat", 1000}, {"Ton5.dat", 100}}) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'x'));
  }
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  MeldluxRun meldlux(dir.path(), autoConnectSettings(server.serverPort()));
  ASSERT_TRUE(meldlux.start());
  ASSERT_TRUE(waitFor(
      [&] { return meldlux.log().contains(QStringLiteral("messagebox\tFahrzeuge Laden\t")); },
      10000))
      << meldlux.log().toStdString();
  // The first connection check would come 4 s after the auto-connect setting was read.
  EXPECT_FALSE(server.waitForNewConnection(4500));
  EXPECT_FALSE(meldlux.log().contains(QStringLiteral("connect\t")));

  meldlux.process.terminate(); // SIGTERM
  ASSERT_TRUE(meldlux.process.waitForFinished(10000)) << meldlux.log().toStdString();
  EXPECT_EQ(meldlux.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(meldlux.process.exitCode(), 0);
  const QString log = meldlux.log();
  const qsizetype saved = log.indexOf(QStringLiteral("saved\n"));
  ASSERT_GE(saved, 0) << log.toStdString();
  EXPECT_GT(log.indexOf(QStringLiteral("tray\tdelete\t"), saved), saved) << log.toStdString();
  EXPECT_TRUE(meldlux.settings().contains(QStringLiteral("AutoConnect=1")));
  // Start-up ended at that box: the next loader's box never came.
  EXPECT_FALSE(log.contains(QStringLiteral("messagebox\t5Ton"))) << log.toStdString();
}
