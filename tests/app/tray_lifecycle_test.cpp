// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/main_window.h"
#include "support/config_home.h"
#include "tray/owner_window_qt.h"
#include "tray/tray_fakes.h"
#include "tray/tray_icon.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

using State = OwnerWindow::State;

// The program on a settings store of its own with the given [Einstellungen] lines, its main
// window and tray shell faked.
struct Program {
  explicit Program(const QByteArray& einstellungen = {}) {
    home.writeFile(QString::fromLatin1(SettingsStore::kApplication),
                   "[Einstellungen]\n" + einstellungen);
    DisplayPorts ports;
    auto fake = std::make_unique<FakeShell>();
    shell = fake.get();
    ports.trayShell = std::move(fake);
    app = std::make_unique<Application>(std::make_unique<ManualClock>(),
                                        std::make_unique<EventLog>(), std::move(ports));
    app->setMainWindow(&owner);
  }
  bool start(const QString& commandLine = QString()) { return app->Form_Load(commandLine); }
  void countUnloads() {
    QObject::connect(app.get(), &Application::unloaded, [this] { ++unloaded; });
  }

  ConfigHome home;
  Journal startJournal;
  FakeOwner owner{&startJournal};
  FakeShell* shell = nullptr;
  std::unique_ptr<Application> app;
  int unloaded = 0;
};

TEST(TrayStartup, IconAndWindowFollowTheStoreAndTheLock) {
  struct Case {
    const char* einstellungen;
    const char* commandLine;
    bool iconShown;
    bool startsHidden;
    int trayBox;
    bool inTray; // the lock forces it after the icon has gone
  };
  for (const Case& c : {Case{"", "", true, false, 1, true},
                        Case{"FormInTray=1\nFormVisible=0\n", "", true, true, 1, true},
                        Case{"FormInTray=0\n", "/l", false, true, 0, true},
                        Case{"FormInTray=1\n", "/l", true, true, 1, true},
                        Case{"FormInTray=0\nFormVisible=0\n", "", false, false, 0, false},
                        Case{"FormInTray=1\nFormVisible=01\n", "", true, true, 1, true},
                        Case{"FormInTray=1\nFormVisible=1\n", "/l", true, true, 1, true},
                        Case{"FormInTray=0\nFormVisible=1\n", "/l2", false, true, 0, true}}) {
    SCOPED_TRACE(std::string(c.einstellungen) + c.commandLine);
    Program p(c.einstellungen);
    ASSERT_TRUE(p.start(QString::fromLatin1(c.commandLine)));
    EXPECT_EQ(p.shell->state.shown(), c.iconShown);
    EXPECT_EQ(p.app->mainWindowStartsHidden(), c.startsHidden);
    EXPECT_EQ(p.owner.visible, !c.startsHidden);
    EXPECT_EQ(p.app->options().value(Check::chkSysTray), c.trayBox);
    EXPECT_EQ(p.app->options().InTray, c.inTray);
    if (*c.commandLine) { // under a lock nothing in the tray brings the window back
      p.shell->mouse(515);
      p.app->tray().mRestore_Click();
      EXPECT_FALSE(p.owner.visible);
    }
  }
}

TEST(TrayStartup, FirstStartShowsTheTitleAndLeavesTheWindowAlone) {
  Program p;
  ASSERT_TRUE(p.start());
  EXPECT_EQ(p.shell->state.tip(), u"FMS Meldlux");
  EXPECT_EQ(p.shell->requests, (std::vector<TrayRequest>{TrayRequest::Add, TrayRequest::Modify}));
  EXPECT_TRUE(p.startJournal.isEmpty());
  Program hidden("FormInTray=1\nFormVisible=0\n");
  ASSERT_TRUE(hidden.start());
  EXPECT_EQ(hidden.startJournal, (QStringList{QStringLiteral("hide"), QStringLiteral("hide")}));
}

class TrayRunning : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(p.start()); }
  Program p;
};

TEST_F(TrayRunning, TheTipShowsEveryNewSummaryAtOnceAndEveryClickBringsItIn) {
  p.shell->mouse(512); // nothing summarised yet: the tip becomes empty
  EXPECT_EQ(p.shell->state.tip(), QString());
  // No hover is reported, so a new summary reaches the tip without any mouse activity.
  p.app->trayTip().assign(QStringLiteral("12:00:00 Flo MS 1/44-1 (3) Einsatz übernommen"));
  EXPECT_EQ(p.shell->state.tip(), u"12:00:00 Flo MS 1/44-1 (3) Einsatz übernommen");
  EXPECT_EQ(p.shell->requests.back(), TrayRequest::Modify);
  p.app->tray().setTooltip(QStringLiteral("alt"));
  p.shell->mouse(520);
  EXPECT_EQ(p.shell->state.tip(), u"12:00:00 Flo MS 1/44-1 (3) Einsatz übernommen");
}

// Through Qt's tray icon, fed by a telegram as the program receives it.
TEST(TrayTipOnTheDesktopIcon, FollowsTheNewestSummaryCutTo63Characters) {
  ConfigHome home;
  DisplayPorts ports;
  auto icon = std::make_unique<TrayIcon>();
  TrayIcon* trayIcon = icon.get();
  ports.trayShell = std::move(icon);
  Application app(std::make_unique<ManualClock>(), std::make_unique<EventLog>(), std::move(ports));
  FakeOwner owner;
  app.setMainWindow(&owner);
  ASSERT_TRUE(app.Form_Load(QString()));
  ASSERT_EQ(trayIcon->systemTrayIcon().toolTip(), u"FMS Meldlux");

  app.options().setChecked(Check::chkUnbekFME, true);
  const QString code(60, u'7');
  app.receiver().Winsock2_DataArrival(QStringLiteral("ZVEI\t") + code + QStringLiteral("\r\n"));
  const QString summary = QStringLiteral("12:00:00 ") + code + QStringLiteral(" Unbekannt");
  EXPECT_EQ(app.trayTip().TrayTipText(), summary);
  EXPECT_EQ(trayIcon->systemTrayIcon().toolTip(), summary.left(63));

  app.receiver().Winsock2_DataArrival(QStringLiteral("ZVEI\t12345\r\n"));
  EXPECT_EQ(trayIcon->systemTrayIcon().toolTip(), u"12:00:00 12345 Unbekannt");
}

TEST_F(TrayRunning, LeftClickTogglesThePopup) {
  const bool before = p.app->popupModel().visible();
  p.shell->mouse(513);
  EXPECT_NE(p.app->popupModel().visible(), before);
  p.shell->mouse(513);
  EXPECT_EQ(p.app->popupModel().visible(), before);
  p.shell->mouse(513, Qt::ControlModifier); // no click for Ctrl
  EXPECT_EQ(p.app->popupModel().visible(), before);
}

TEST_F(TrayRunning, TrayBoxShowsAndRemovesTheIcon) {
  p.app->options().setChecked(Check::chkSysTray, false);
  EXPECT_FALSE(p.shell->state.shown());
  p.app->options().setChecked(Check::chkSysTray, true);
  EXPECT_TRUE(p.shell->state.shown());
  EXPECT_EQ(p.shell->state.tip(), u"FMS Meldlux");
}

TEST_F(TrayRunning, MinimisingHidesOnlyWithTheTrayBoxAndNormalShows) {
  for (const auto& [state, visible, remembered] :
       {std::tuple{State::Maximized, true, State::Maximized},
        {State::Minimized, false, State::Maximized},
        {State::Normal, true, State::Normal}}) {
    p.owner.state = state;
    p.app->Form_Resize();
    EXPECT_EQ(p.owner.visible, visible) << int(state);
    EXPECT_EQ(p.app->tray().rememberedState(), remembered) << int(state);
  }
  p.app->options().setChecked(Check::chkSysTray, false);
  p.owner.state = State::Minimized;
  p.app->Form_Resize();
  EXPECT_TRUE(p.owner.visible);
}

TEST_F(TrayRunning, UnloadRemovesTheIconAndSaysSo) {
  p.countUnloads();
  p.app->Form_Unload(true);
  EXPECT_FALSE(p.shell->state.shown());
  EXPECT_EQ(p.unloaded, 1);
  EXPECT_TRUE(
      p.home.readFile(QString::fromLatin1(SettingsStore::kApplication)).contains("FormInTray=1"));
  // MeHide because of InTray, then the tray's own delete.
  const std::vector<TrayRequest> tail(p.shell->requests.end() - 2, p.shell->requests.end());
  EXPECT_EQ(tail, (std::vector<TrayRequest>{TrayRequest::Delete, TrayRequest::Delete}));
}

// With the real main window.
class TrayWithMainWindow : public ::testing::Test {
protected:
  TrayWithMainWindow() : window(*program.app), qtOwner(window) {
    program.app->setMainWindow(&qtOwner);
    program.countUnloads();
  }

  Program program;
  MainWindow window;
  QtOwnerWindow qtOwner;
};

TEST_F(TrayWithMainWindow, MinimisingSendsTheWindowToTheTrayAndRestoreBringsItBack) {
  ASSERT_TRUE(program.start());
  window.show();
  program.app->tray().mMinimize_Click();
  EXPECT_FALSE(window.isVisible());
  program.app->tray().mRestore_Click();
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
}

TEST_F(TrayWithMainWindow, BeendenClosesTheWindowWhichUnloadsTheProgram) {
  ASSERT_TRUE(program.start());
  window.hide(); // living in the tray
  program.shell->mouse(517);
  ASSERT_TRUE(program.shell->choice);
  program.shell->choice(TrayMenu::mExit);
  EXPECT_EQ(program.unloaded, 1); // the icon and the settings go as any unload does
}

TEST_F(TrayWithMainWindow, BeendenUnderLockTwoKeepsTheProgram) {
  ASSERT_TRUE(program.start(QStringLiteral("/l2")));
  program.app->tray().mExit_Click();
  EXPECT_EQ(program.unloaded, 0);
  EXPECT_TRUE(program.shell->state.shown());
}

} // namespace
} // namespace meldlux
