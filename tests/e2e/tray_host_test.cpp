// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/x_desktop.h"

#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

// The real program in a real notification area, and the set-up window that a first start on an
// empty settings store shows there.
using namespace meldlux::e2e;

TEST(TrayHost, IconClicksMenuHideRestoreAndExitOnARealNotificationArea) {
  for (const char* tool : {"Xvfb", "trayer", "xdotool"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
      GTEST_SKIP() << tool << " is not installed (scripts/setup.sh installs it)";
  XDesktop desktop;
  ASSERT_TRUE(desktop.start());

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  MeldluxRun meldlux(dir.path(), autoConnectSettings(server.serverPort()));
  ASSERT_TRUE(meldlux.start({}, {}, desktop.environment()));
  ASSERT_TRUE(server.waitForNewConnection(15000)); // first connection check, about 4 s in
  QTcpSocket* client = server.nextPendingConnection();
  ASSERT_TRUE(
      waitFor([&] { return meldlux.logged(QStringLiteral("tray\tmodify\tFMS Meldlux")); }, 5000));
  ASSERT_TRUE(desktop.mainWindowVisible());

  // The panel comes up after the program, as at a log-in: the icon must appear in it all the
  // same. Click where it will be until it answers.
  ASSERT_TRUE(desktop.startTrayHost());
  ASSERT_TRUE(waitFor(
      [&] {
        desktop.clickIcon(1);
        return waitFor([&] { return meldlux.logged(QStringLiteral("click\tLBUTTONUP")); }, 600);
      },
      10000))
      << meldlux.log().toStdString();
  EXPECT_TRUE(meldlux.logged(QStringLiteral("click\tLBUTTONDOWN")));

  // A loaded machine may open the menu late or take a double click for two clicks: each step is
  // tried again until it shows its effect.
  const auto menuKey = [&](const char* key) {
    desktop.clickIcon(3);
    QThread::msleep(700);
    desktop.xdotool({QStringLiteral("key"), QString::fromLatin1(key)});
  };
  const auto tries = [](const std::function<void()>& step, const std::function<bool()>& effect) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      step();
      if (waitFor(effect, 3000))
        return true;
    }
    return false;
  };

  // Right click: the menu, in which "&Verstecken" (V) hides the visible main window.
  ASSERT_TRUE(tries([&] { menuKey("v"); }, [&] { return !desktop.mainWindowVisible(); }))
      << meldlux.log().toStdString();
  EXPECT_TRUE(meldlux.logged(QStringLiteral("click\tRBUTTONDOWN")));
  EXPECT_TRUE(meldlux.logged(QStringLiteral("click\tRBUTTONUP")));

  // A double click brings it back.
  ASSERT_TRUE(tries([&] { desktop.clickIcon(1, 2); },
                    [&] {
                      return meldlux.logged(QStringLiteral("click\tLBUTTONDBLCLK")) &&
                             desktop.mainWindowVisible();
                    }))
      << meldlux.log().toStdString();

  // "&Beenden" (B) ends the program the way closing its window does.
  ASSERT_TRUE(tries([&] { menuKey("b"); },
                    [&] {
                      return meldlux.process.state() == QProcess::NotRunning ||
                             meldlux.process.waitForFinished(100);
                    }))
      << meldlux.log().toStdString();

  expectOrderlyEnd(meldlux.log(), *client);
}

// Starts the program on `settings`, answers "Meldlux einrichten" with `key` if it comes, ends the
// program and gives what it saved; `shown` tells whether the window came and was logged.
QString firstStart(XDesktop& desktop, const QString& settings, const char* key, bool& shown) {
  QTemporaryDir dir;
  MeldluxRun meldlux(dir.path(), settings);
  // The loop's ticks in the log tell when start-up is over: then the windows are shown and the
  // set-up, if any, logged. A loaded machine may take long over the start: a wide bound.
  QProcessEnvironment env = desktop.environment();
  env.insert(QStringLiteral("MELDLUX_EVENT_LOG_TICK_MS"), QStringLiteral("100"));
  EXPECT_TRUE(meldlux.start({}, {}, env));
  EXPECT_TRUE(waitFor(
      [&] {
        const QString log = meldlux.log();
        const qsizetype started = log.indexOf(QStringLiteral("popup\tshown\n"));
        return started >= 0 && log.indexOf(QStringLiteral("tick\t"), started) >= 0;
      },
      60000))
      << meldlux.log().toStdString();
  EXPECT_FALSE(desktop.mainWindow(15000).isEmpty()) << meldlux.log().toStdString();
  const QString name = QStringLiteral("^Meldlux einrichten$");
  shown = meldlux.logged(QStringLiteral("window\tMeldlux einrichten")) &&
          waitFor([&] { return desktop.visible(name); }, 15000);
  if (shown) {
    const QString setup =
        desktop.xdotool({"search", "--onlyvisible", "--name", name}).section(u'\n', 0, 0).trimmed();
    EXPECT_TRUE(desktop.focus(setup));
    desktop.xdotool({"key", key});
  }
  EXPECT_TRUE(waitFor([&] { return !desktop.visible(name); }, 15000));
  meldlux.process.terminate();
  EXPECT_TRUE(meldlux.process.waitForFinished(10000));
  return meldlux.settings();
}

TEST(FirstStart, EmptyStoreOffersTheSetUpWhichSetsUpAStationOrKeepsTheDefaults) {
  XDesktop desktop;
  if (!desktop.start())
    GTEST_SKIP() << "no Xvfb";
  bool shown = false;
  const QString accepted = firstStart(desktop, {}, "Return", shown);
  EXPECT_TRUE(shown);
  for (const char* key : {"AutoConnect=1", "Alarm=1", "StatusFzg=0", "MsgLines=3", "MsgPosition=1"})
    EXPECT_TRUE(accepted.contains(QLatin1String(key))) << key << "\n" << accepted.toStdString();
  const QString closed = firstStart(desktop, {}, "Escape", shown);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(closed.contains("AutoConnect=0") && closed.contains("MsgLines=1"));
  firstStart(desktop, closed, "Escape", shown);
  EXPECT_FALSE(shown) << "a stored set-up is not asked for again";
}
