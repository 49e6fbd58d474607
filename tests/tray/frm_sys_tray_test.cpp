#include "tray/frm_sys_tray.h"

#include "base/event_log.h"
#include "tray_fakes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

using State = OwnerWindow::State;

class Tray : public ::testing::Test {
protected:
  Tray() : shell(&journal), owner(&journal), tray(shell, log, lockMode) {
    QObject::connect(&tray, &FrmSysTray::Click, [this](const QString& what) {
      clicks.append(what);
      journal.append(what);
    });
    tray.Form_Load(QStringLiteral("meldlux"));
    tray.setFSys(&owner);
  }

  Journal journal;
  FakeShell shell;
  FakeOwner owner;
  EventLog log;
  std::int16_t lockMode = 0;
  FrmSysTray tray;
  QStringList clicks;
};

// --- The icon ---------------------------------------------------------------------------------

TEST_F(Tray, LoadingAddsTheIconWithTheExecutableNameAsTip) {
  ASSERT_EQ(shell.requests, std::vector<TrayRequest>{TrayRequest::Add});
  EXPECT_TRUE(shell.state.shown());
  EXPECT_EQ(shell.state.tip(), u"meldlux");
  EXPECT_NE(tray.record().hIcon, 0u);
}

TEST_F(Tray, TooltipShowsOnlyAfterTheNextRequest) {
  tray.setTooltip(QStringLiteral("FMS Meldlux"));
  EXPECT_EQ(shell.state.tip(), u"meldlux");
  tray.MeModify();
  EXPECT_EQ(shell.state.tip(), u"FMS Meldlux");
  EXPECT_EQ(shell.requests.back(), TrayRequest::Modify);
}

TEST_F(Tray, AddingAShownIconOrRemovingAMissingOneChangesNothing) {
  tray.setTooltip(QStringLiteral("neu"));
  tray.MeShow(); // already there: the shell keeps the old tip
  EXPECT_TRUE(shell.state.shown());
  EXPECT_EQ(shell.state.tip(), u"meldlux");

  tray.MeHide();
  tray.MeHide();
  EXPECT_FALSE(shell.state.shown());
  tray.MeModify(); // no icon to change
  EXPECT_FALSE(shell.state.shown());

  tray.MeShow();
  EXPECT_TRUE(shell.state.shown());
  EXPECT_EQ(shell.state.tip(), u"neu");
  EXPECT_EQ(shell.requests,
            (std::vector<TrayRequest>{TrayRequest::Add, TrayRequest::Add, TrayRequest::Delete,
                                      TrayRequest::Delete, TrayRequest::Modify, TrayRequest::Add}));
}

TEST_F(Tray, OwnerUnloadRemovesTheIcon) {
  tray.FSys_Unload();
  EXPECT_FALSE(shell.state.shown());
  EXPECT_EQ(shell.requests.back(), TrayRequest::Delete);
}

// --- Mouse messages ---------------------------------------------------------------------------

struct MouseCase {
  int code;
  const char* click;
};

class MouseMessages : public Tray, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(MouseMessages, RaiseTheirClickText) {
  owner.visible = true; // a double click then has nothing to restore
  shell.mouse(GetParam().code);
  EXPECT_EQ(clicks, QStringList{QString::fromLatin1(GetParam().click)});
}

INSTANTIATE_TEST_SUITE_P(
    Codes, MouseMessages,
    ::testing::Values(MouseCase{512, "MOUSEMOVE"}, MouseCase{513, "LBUTTONDOWN"},
                      MouseCase{514, "LBUTTONUP"}, MouseCase{515, "LBUTTONDBLCLK"},
                      MouseCase{516, "RBUTTONDOWN"}, MouseCase{517, "RBUTTONUP"},
                      MouseCase{518, "RBUTTONDBLCLK"}, MouseCase{519, "MBUTTONDOWN"},
                      MouseCase{520, "MBUTTONUP"}, MouseCase{521, "MBUTTONDBLCLK"},
                      MouseCase{511, "OTHER....: 511"}, MouseCase{522, "OTHER....: 522"},
                      MouseCase{0, "OTHER....: 0"}));

TEST_F(Tray, LeftButtonDownDependsOnTheModifiersHeld) {
  shell.mouse(513, Qt::ShiftModifier);
  shell.mouse(513, Qt::ControlModifier);
  shell.mouse(513, Qt::ShiftModifier | Qt::ControlModifier);
  shell.mouse(513, Qt::AltModifier);
  shell.mouse(513, Qt::ShiftModifier | Qt::KeypadModifier); // keypad flag is no key held
  shell.mouse(513, Qt::NoModifier);
  EXPECT_EQ(clicks,
            (QStringList{QStringLiteral("LBUTTONDOWNSHIFT"), QStringLiteral("LBUTTONDOWNSHIFT"),
                         QStringLiteral("LBUTTONDOWN")}));
}

TEST_F(Tray, DoubleClickRaisesFourEventsAndRestoresTheWindowAtTheThird) {
  owner.visible = false;
  owner.state = State::Minimized;
  journal.clear();
  for (int code : {513, 514, 515, 514})
    shell.mouse(code);
  EXPECT_EQ(journal, (QStringList{QStringLiteral("LBUTTONDOWN"), QStringLiteral("LBUTTONUP"),
                                  QStringLiteral("LBUTTONDBLCLK"), QStringLiteral("state 0"),
                                  QStringLiteral("show"), QStringLiteral("foreground"),
                                  QStringLiteral("LBUTTONUP")}));
  EXPECT_TRUE(owner.visible);
}

TEST_F(Tray, DoubleClickUnderLockRestoresNothing) {
  lockMode = 1;
  owner.visible = false;
  journal.clear();
  shell.mouse(515);
  EXPECT_EQ(journal, QStringList{QStringLiteral("LBUTTONDBLCLK")});
  EXPECT_FALSE(owner.visible);
}

// --- The menu ---------------------------------------------------------------------------------

struct MenuRow {
  bool visible;
  State state;
  bool restore;
  bool minimize;
};

class MenuRows : public Tray, public ::testing::WithParamInterface<MenuRow> {};

TEST_P(MenuRows, EnabledStateFollowsTheOwnerWhenTheMenuOpens) {
  owner.visible = GetParam().visible;
  owner.state = GetParam().state;
  journal.clear();
  shell.mouse(517);
  ASSERT_TRUE(shell.opened.has_value());
  EXPECT_EQ(shell.opened->item(TrayMenu::mRestore).enabled, GetParam().restore);
  EXPECT_EQ(shell.opened->item(TrayMenu::mMinimize).enabled, GetParam().minimize);
  EXPECT_TRUE(shell.opened->item(TrayMenu::mExit).enabled);
  // The owner hears the click before the menu opens.
  EXPECT_EQ(journal, (QStringList{QStringLiteral("RBUTTONUP"), QStringLiteral("menu")}));
}

INSTANTIATE_TEST_SUITE_P(Owner, MenuRows,
                         ::testing::Values(MenuRow{false, State::Normal, true, false},
                                           MenuRow{true, State::Normal, false, true},
                                           MenuRow{true, State::Minimized, true, false},
                                           MenuRow{true, State::Maximized, false, true}));

TEST_F(Tray, MenuHasItsEntriesInOrderAndTheSpareOnesStayOff) {
  owner.visible = false; // everything that can be on is on
  shell.mouse(517);
  QStringList enabled;
  for (const auto& item : shell.opened->entries())
    if (item.enabled && !item.separator)
      enabled.append(item.caption);
  EXPECT_EQ(enabled, (QStringList{QStringLiteral("&Einstellungen"), QStringLiteral("&Beenden")}));
  EXPECT_EQ(shell.opened->item(TrayMenu::mMinimize).caption, u"&Verstecken");
  EXPECT_TRUE(shell.opened->item(TrayMenu::mSep2).separator);
  EXPECT_LT(TrayMenu::mMaximize, TrayMenu::mRestore); // the spare entries sit above
}

TEST_F(Tray, ChoosingInTheOpenedMenuRunsTheEntryOnlyWhenEnabled) {
  owner.visible = true; // "&Einstellungen" off, "&Verstecken" on
  shell.mouse(517);
  journal.clear();
  shell.choice(TrayMenu::mRestore);
  shell.choice(TrayMenu::mAbout);
  shell.choice(-1);
  shell.choice(TrayMenu::Count);
  EXPECT_TRUE(journal.isEmpty());
  shell.choice(TrayMenu::mMinimize);
  EXPECT_EQ(owner.state, State::Minimized);
  shell.choice(TrayMenu::mExit);
  EXPECT_EQ(owner.unloads, 1);
}

TEST_F(Tray, RestoreGivesBackTheRememberedStateAndTheForeground) {
  owner.state = State::Maximized;
  tray.FSys_Resize();
  owner.state = State::Minimized;
  tray.FSys_Resize(); // minimised is never remembered
  EXPECT_EQ(tray.rememberedState(), State::Maximized);
  owner.visible = false;
  journal.clear();
  tray.mRestore_Click();
  EXPECT_EQ(journal, (QStringList{QStringLiteral("state 2"), QStringLiteral("show"),
                                  QStringLiteral("foreground")}));
  EXPECT_EQ(owner.state, State::Maximized);

  journal.clear();
  tray.mRestore_Click(); // visible and not minimised: nothing to do
  EXPECT_TRUE(journal.isEmpty());
}

TEST_F(Tray, RestoreDoesNothingUnderAnyLock) {
  owner.visible = false;
  for (std::int16_t mode : {1, 2, 3}) {
    lockMode = mode;
    tray.mRestore_Click();
  }
  EXPECT_FALSE(owner.visible);
  EXPECT_TRUE(journal.isEmpty());
}

TEST_F(Tray, ExitUnloadsTheOwnerOnlyBelowLockModeTwo) {
  for (std::int16_t mode : {2, 3}) {
    lockMode = mode;
    tray.mExit_Click();
  }
  EXPECT_EQ(owner.unloads, 0);
  for (std::int16_t mode : {0, 1}) {
    lockMode = mode;
    tray.mExit_Click();
  }
  EXPECT_EQ(owner.unloads, 2);
}

TEST_F(Tray, MinimiseAsksTheOwnerEvenUnderLock) {
  lockMode = 3;
  tray.mMinimize_Click();
  EXPECT_EQ(owner.state, State::Minimized);
}

TEST(TrayWithoutOwner, MenuAndDoubleClickDoNothingHarmful) {
  FakeShell shell;
  EventLog log;
  const std::int16_t lockMode = 0;
  FrmSysTray tray(shell, log, lockMode);
  int clicks = 0;
  QObject::connect(&tray, &FrmSysTray::Click, [&clicks] { ++clicks; });
  shell.mouse(515);
  shell.mouse(517);
  tray.mExit_Click();
  tray.mMinimize_Click();
  tray.FSys_Resize();
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(shell.opened.has_value());
}

// --- Event log --------------------------------------------------------------------------------

TEST(TrayEventLog, RequestsAndClicksAreLogged) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("events.log"));
  {
    FakeShell shell;
    EventLog log(path);
    const std::int16_t lockMode = 0;
    FrmSysTray tray(shell, log, lockMode);
    tray.Form_Load(QStringLiteral("meldlux"));
    tray.setTooltip(QStringLiteral("12:00:00 Florian\t1"));
    tray.MeModify();
    tray.MeHide();
    shell.mouse(513, Qt::ShiftModifier);
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()), QStringLiteral("tray\tadd\tmeldlux\n"
                                                              "tray\tmodify\t12:00:00 Florian\\t1\n"
                                                              "tray\tdelete\t12:00:00 Florian\\t1\n"
                                                              "click\tLBUTTONDOWNSHIFT\n"));
}

} // namespace
} // namespace meldlux
