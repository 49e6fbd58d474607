// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/session_manager.h"
#include "support/x_desktop.h"

#include <QTcpServer>
#include <QTemporaryDir>

// The desktop session's manager asks the program to save: for a checkpoint, and before a log-out
// that may still be called off. Neither ends it: it stays connected and shows what comes. Only
// the session's real end ends it, the way closing its main window does.
using namespace meldlux::e2e;

TEST(SessionEnd, CheckpointsAndACalledOffLogOutKeepTheStationAlertedTheRealEndEndsInOrder) {
  XDesktop desktop;
  if (!desktop.start() || !desktop.startTrayHost())
    GTEST_SKIP() << "no Xvfb or tray host";
  SessionManager manager;
  ASSERT_TRUE(manager.start()) << manager.error().toStdString();
  QTemporaryDir dir;
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  MeldluxRun meldlux(dir.path(), autoConnectSettings(server.serverPort()));
  QProcessEnvironment env = desktop.environment();
  env.insert(QStringLiteral("SESSION_MANAGER"), manager.address());
  // No keys of the user's: the manager lets any local client in.
  env.insert(QStringLiteral("ICEAUTHORITY"), dir.filePath(QStringLiteral("ICEauthority")));
  // Hidden in the tray and locked, as at a station: neither may stand in the session's way.
  ASSERT_TRUE(meldlux.start({QStringLiteral("/l2")}, {}, env));
  ASSERT_TRUE(waitFor([&] { return manager.registered() == 1; }, 30000))
      << meldlux.log().toStdString();
  ASSERT_TRUE(server.waitForNewConnection(30000));
  QTcpSocket* client = server.nextPendingConnection();

  int code = 11111;
  const auto shows = [&] {
    const QByteArray telegram = QByteArray::number(code++);
    client->write("ZVEI\t" + telegram + "\r\n");
    client->waitForBytesWritten(1000);
    return waitFor(
        [&] { return meldlux.log().contains(QString::fromLatin1(telegram + " Unbekannt")); },
        10000);
  };
  const auto saved = [&](int times) {
    return waitFor([&] { return manager.savesDone() == times; }, 10000);
  };
  ASSERT_TRUE(shows()) << meldlux.log().toStdString();

  manager.saveYourself(false);
  ASSERT_TRUE(saved(1));
  manager.saveComplete();
  EXPECT_TRUE(shows()) << "after a checkpoint\n" << meldlux.log().toStdString();

  manager.saveYourself(true);
  ASSERT_TRUE(saved(2));
  manager.shutdownCancelled();
  EXPECT_TRUE(shows()) << "after a called-off log-out\n" << meldlux.log().toStdString();

  manager.saveYourself(true);
  ASSERT_TRUE(saved(3));
  manager.die();
  ASSERT_TRUE(meldlux.process.waitForFinished(15000)) << meldlux.log().toStdString();
  EXPECT_EQ(meldlux.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(meldlux.process.exitCode(), 0);
  expectOrderlyEnd(meldlux.log(), *client);
}
