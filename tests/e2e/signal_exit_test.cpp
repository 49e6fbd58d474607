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
