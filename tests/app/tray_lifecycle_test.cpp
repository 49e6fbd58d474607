#include "app/application.h"
#include "app/main_window.h"
#include "tray/owner_window_qt.h"
#include "tray/tray_fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

using State = OwnerWindow::State;

// A settings store of its own for each test, with the given [Einstellungen] lines.
class Store {
public:
  explicit Store(const QByteArray& einstellungen = {}) : previous_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    QDir(dir_.path()).mkpath(QStringLiteral("meldlux"));
    QFile ini(iniPath());
    if (ini.open(QIODevice::WriteOnly))
      ini.write("[Einstellungen]\n" + einstellungen);
  }
  ~Store() { qputenv("XDG_CONFIG_HOME", previous_); }
  QString iniPath() const { return dir_.filePath(QStringLiteral("meldlux/MeldluxWBR.ini")); }
  QByteArray ini() const {
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

private:
  QTemporaryDir dir_;
  QByteArray previous_;
};

struct Program {
  explicit Program(const QByteArray& einstellungen = {}) : store(einstellungen) {
    DisplayPorts ports;
    auto fake = std::make_unique<FakeShell>();
    shell = fake.get();
    ports.trayShell = std::move(fake);
    app = std::make_unique<Application>(std::make_unique<ManualClock>(),
                                        std::make_unique<EventLog>(), std::move(ports));
    app->setMainWindow(&owner);
  }
  bool start(const QString& commandLine = QString()) { return app->Form_Load(commandLine); }

  Store store;
  Journal startJournal;
  FakeOwner owner{&startJournal};
  FakeShell* shell = nullptr;
  std::unique_ptr<Application> app;
};

// --- Start-up ---------------------------------------------------------------------------------

TEST(TrayStartup, FirstStartShowsTheIconWithTheTitleAndKeepsTheWindow) {
  Program p;
  ASSERT_TRUE(p.start());
  EXPECT_TRUE(p.shell->state.shown());
  EXPECT_EQ(p.shell->state.tip(), u"FMS Meldlux");
  EXPECT_EQ(p.shell->requests, (std::vector<TrayRequest>{TrayRequest::Add, TrayRequest::Modify}));
  EXPECT_EQ(p.app->options().value(Check::chkSysTray), 1);
  EXPECT_FALSE(p.app->mainWindowStartsHidden());
  EXPECT_TRUE(p.startJournal.isEmpty());
}

TEST(TrayStartup, TrayWithFormVisibleZeroHidesTheWindowButKeepsTheIcon) {
  Program p("FormInTray=1\nFormVisible=0\n");
  ASSERT_TRUE(p.start());
  EXPECT_TRUE(p.shell->state.shown());
  EXPECT_TRUE(p.app->mainWindowStartsHidden());
  EXPECT_FALSE(p.owner.visible);
  EXPECT_EQ(p.startJournal, (QStringList{QStringLiteral("hide"), QStringLiteral("hide")}));
}

TEST(TrayStartup, LockWithoutTrayRunsHiddenAndWithoutIcon) {
  Program p("FormInTray=0\n");
  ASSERT_TRUE(p.start(QStringLiteral("/l")));
  EXPECT_FALSE(p.shell->state.shown()); // removed in step 14, before the lock forces InTray
  EXPECT_EQ(p.app->options().value(Check::chkSysTray), 0);
  EXPECT_TRUE(p.app->options().InTray);
  EXPECT_TRUE(p.app->mainWindowStartsHidden());
  EXPECT_FALSE(p.owner.visible);
}

TEST(TrayStartup, LockWithTrayHidesTheWindowAndRestoreStaysOff) {
  Program p("FormInTray=1\n");
  ASSERT_TRUE(p.start(QStringLiteral("/l")));
  EXPECT_TRUE(p.shell->state.shown());
  EXPECT_FALSE(p.owner.visible);
  p.shell->mouse(515); // a double click would restore without the lock
  p.app->tray().mRestore_Click();
  EXPECT_FALSE(p.owner.visible);
}

TEST(TrayStartup, WithoutTrayTheWindowStaysVisibleWhateverFormVisibleSays) {
  Program p("FormInTray=0\nFormVisible=0\n");
  ASSERT_TRUE(p.start());
  EXPECT_FALSE(p.shell->state.shown());
  EXPECT_FALSE(p.app->mainWindowStartsHidden());
  EXPECT_TRUE(p.owner.visible);
  EXPECT_FALSE(p.app->options().InTray);
}

// --- Running ----------------------------------------------------------------------------------

TEST(TrayRunning, EveryClickBringsTheLatestSummaryIntoTheTip) {
  Program p;
  ASSERT_TRUE(p.start());
  p.shell->mouse(512); // nothing summarised yet: the tip becomes empty
  EXPECT_EQ(p.shell->state.tip(), QString());
  p.app->trayTip().assign(QStringLiteral("12:00:00 Flo MS 1/44-1 (3) Einsatz übernommen"));
  EXPECT_EQ(p.shell->state.tip(), QString()); // only a click refreshes it
  p.shell->mouse(520);
  EXPECT_EQ(p.shell->state.tip(), u"12:00:00 Flo MS 1/44-1 (3) Einsatz übernommen");
  EXPECT_EQ(p.shell->requests.back(), TrayRequest::Modify);
}

TEST(TrayRunning, LeftClickTogglesThePopup) {
  Program p;
  ASSERT_TRUE(p.start());
  const bool before = p.app->popupModel().visible();
  p.shell->mouse(513);
  EXPECT_NE(p.app->popupModel().visible(), before);
  p.shell->mouse(513);
  EXPECT_EQ(p.app->popupModel().visible(), before);
  p.shell->mouse(513, Qt::ControlModifier); // no click for Ctrl
  EXPECT_EQ(p.app->popupModel().visible(), before);
}

TEST(TrayRunning, TrayBoxShowsAndRemovesTheIcon) {
  Program p;
  ASSERT_TRUE(p.start());
  p.app->options().setChecked(Check::chkSysTray, false);
  EXPECT_FALSE(p.shell->state.shown());
  EXPECT_FALSE(p.app->options().InTray);
  p.app->options().setChecked(Check::chkSysTray, true);
  EXPECT_TRUE(p.shell->state.shown());
  EXPECT_TRUE(p.app->options().InTray);
  EXPECT_EQ(p.shell->state.tip(), u"FMS Meldlux");
}

TEST(TrayRunning, MinimisingHidesOnlyWithTheTrayBoxAndNormalShows) {
  Program p;
  ASSERT_TRUE(p.start());
  p.owner.state = State::Maximized;
  p.app->Form_Resize();
  EXPECT_EQ(p.app->tray().rememberedState(), State::Maximized);
  p.owner.state = State::Minimized;
  p.app->Form_Resize();
  EXPECT_FALSE(p.owner.visible);
  EXPECT_EQ(p.app->tray().rememberedState(), State::Maximized);
  p.owner.state = State::Normal;
  p.app->Form_Resize();
  EXPECT_TRUE(p.owner.visible);
  EXPECT_EQ(p.app->tray().rememberedState(), State::Normal);

  p.app->options().setChecked(Check::chkSysTray, false);
  p.owner.state = State::Minimized;
  p.app->Form_Resize();
  EXPECT_TRUE(p.owner.visible);
}

TEST(TrayRunning, UnloadRemovesTheIconAndSaysSo) {
  Program p;
  ASSERT_TRUE(p.start());
  int unloaded = 0;
  QObject::connect(p.app.get(), &Application::unloaded, [&unloaded] { ++unloaded; });
  p.app->Form_Unload(true);
  EXPECT_FALSE(p.shell->state.shown());
  EXPECT_EQ(unloaded, 1);
  EXPECT_TRUE(p.store.ini().contains("FormInTray=1"));
  // MeHide because of InTray, then the tray's own delete.
  const std::vector<TrayRequest> tail(p.shell->requests.end() - 2, p.shell->requests.end());
  EXPECT_EQ(tail, (std::vector<TrayRequest>{TrayRequest::Delete, TrayRequest::Delete}));
}

// --- With the real main window ----------------------------------------------------------------

class TrayWithMainWindow : public ::testing::Test {
protected:
  TrayWithMainWindow() : window(*program.app), qtOwner(window) {
    program.app->setMainWindow(&qtOwner);
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

TEST_F(TrayWithMainWindow, BeendenClosesTheWindowWhichSavesAndRemovesTheIcon) {
  ASSERT_TRUE(program.start());
  int unloaded = 0;
  QObject::connect(program.app.get(), &Application::unloaded, [&unloaded] { ++unloaded; });
  window.hide(); // living in the tray
  program.shell->mouse(517);
  ASSERT_TRUE(program.shell->choice);
  program.shell->choice(TrayMenu::mExit);
  EXPECT_EQ(unloaded, 1);
  EXPECT_FALSE(program.shell->state.shown());
  EXPECT_TRUE(program.store.ini().contains("FormVisible=0"));
}

TEST_F(TrayWithMainWindow, BeendenUnderLockTwoKeepsTheProgram) {
  ASSERT_TRUE(program.start(QStringLiteral("/l2")));
  int unloaded = 0;
  QObject::connect(program.app.get(), &Application::unloaded, [&unloaded] { ++unloaded; });
  program.app->tray().mExit_Click();
  EXPECT_EQ(unloaded, 0);
  EXPECT_TRUE(program.shell->state.shown());
}

} // namespace
} // namespace meldlux
