// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/signal_recorder.h"
#include "tray/frm_sys_tray.h"

#include "base/event_log.h"
#include "support/event_log_file.h"
#include "tray_fakes.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

using State = OwnerWindow::State;

QStringList list(std::initializer_list<const char*> items) {
  QStringList out;
  for (const char* item : items)
    out.append(QString::fromUtf8(item));
  return out;
}

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
  EventLogFile logFile;
  EventLog log{logFile.path()};
  std::int16_t lockMode = 0;
  FrmSysTray tray;
  QStringList clicks;
};

TEST_F(Tray, LoadingAddsTheIconWithTheExecutableNameAsTipAndANewTipWaitsForARequest) {
  EXPECT_TRUE(shell.state.shown());
  EXPECT_EQ(shell.state.tip(), u"meldlux");
  EXPECT_NE(tray.record().hIcon, 0u);
  tray.setTooltip(QStringLiteral("FMS Meldlux"));
  EXPECT_EQ(shell.state.tip(), u"meldlux");
  tray.MeModify();
  EXPECT_EQ(shell.state.tip(), u"FMS Meldlux");
  EXPECT_EQ(shell.requests, (std::vector<TrayRequest>{TrayRequest::Add, TrayRequest::Modify}));
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
  tray.FSys_Unload(); // the owner goes: so does the icon
  EXPECT_FALSE(shell.state.shown());
  EXPECT_EQ(shell.requests.back(), TrayRequest::Delete);
}

TEST_F(Tray, MouseMessagesRaiseTheirClickTexts) {
  for (int code : {512, 513, 514, 515, 516, 517, 518, 519, 520, 521, 511, 522, 0})
    shell.mouse(code);
  EXPECT_EQ(clicks, list({"MOUSEMOVE", "LBUTTONDOWN", "LBUTTONUP", "LBUTTONDBLCLK", "RBUTTONDOWN",
                          "RBUTTONUP", "RBUTTONDBLCLK", "MBUTTONDOWN", "MBUTTONUP", "MBUTTONDBLCLK",
                          "OTHER....: 511", "OTHER....: 522", "OTHER....: 0"}));
}

TEST_F(Tray, LeftButtonDownDependsOnTheModifiersHeld) {
  const Qt::KeyboardModifiers held[] = {Qt::ShiftModifier,
                                        Qt::ControlModifier,
                                        Qt::ShiftModifier | Qt::ControlModifier,
                                        Qt::AltModifier,
                                        Qt::ShiftModifier | Qt::KeypadModifier, // keypad: no key
                                        Qt::NoModifier};
  for (Qt::KeyboardModifiers modifiers : held)
    shell.mouse(513, modifiers);
  EXPECT_EQ(clicks, list({"LBUTTONDOWNSHIFT", "LBUTTONDOWNSHIFT", "LBUTTONDOWN"}));
}

TEST_F(Tray, DoubleClickRaisesFourEventsAndRestoresTheWindowAtTheThird) {
  owner.visible = false;
  owner.state = State::Minimized;
  for (int code : {513, 514, 515, 514})
    shell.mouse(code);
  EXPECT_EQ(journal, list({"LBUTTONDOWN", "LBUTTONUP", "LBUTTONDBLCLK", "state 0", "show",
                           "foreground", "LBUTTONUP"}));
  EXPECT_TRUE(owner.visible);
}

TEST_F(Tray, MenuEntriesFollowTheOwnerWhenTheMenuOpens) {
  struct Row {
    bool visible;
    State state;
    bool restore;
    bool minimize;
  };
  for (const Row& row :
       {Row{false, State::Normal, true, false}, Row{true, State::Normal, false, true},
        Row{true, State::Minimized, true, false}, Row{true, State::Maximized, false, true}}) {
    SCOPED_TRACE(int(row.state) * 2 + row.visible);
    owner.visible = row.visible;
    owner.state = row.state;
    journal.clear();
    shell.mouse(517);
    ASSERT_TRUE(shell.opened.has_value());
    EXPECT_EQ(shell.opened->item(TrayMenu::mRestore).enabled, row.restore);
    EXPECT_EQ(shell.opened->item(TrayMenu::mMinimize).enabled, row.minimize);
    EXPECT_EQ(journal, list({"RBUTTONUP", "menu"})); // the owner hears the click first
  }
  owner.visible = false; // everything that can be on is on; the spare entries stay off
  shell.mouse(517);
  QStringList enabled;
  for (const auto& item : shell.opened->entries())
    if (item.enabled && !item.separator)
      enabled.append(item.caption);
  EXPECT_EQ(enabled, list({"&Einstellungen", "&Beenden", "&Fahrzeugstatus", "Ver&lauf",
                           "Alarm&regeln", "Überwachung …"}));
  EXPECT_EQ(shell.opened->item(TrayMenu::mMinimize).caption, u"&Verstecken");
  // A separator keeps "&Beenden" apart from our entries, so a slip does not end the program.
  QStringList order;
  for (const auto& item : shell.opened->entries())
    order.append(item.separator ? QStringLiteral("-") : item.caption);
  EXPECT_EQ(order, list({"&Info", "-", "&Maximieren", "&Einstellungen", "&Verstecken", "-",
                         "&Beenden", "-", "&Fahrzeugstatus", "Ver&lauf", "Alarm&regeln",
                         "Überwachung …"}));
}

TEST_F(Tray, ChoosingInTheOpenedMenuRunsTheEntryOnlyWhenEnabled) {
  owner.visible = true; // "&Einstellungen" off, "&Verstecken" on
  shell.mouse(517);
  journal.clear();
  for (int off : {int(TrayMenu::mRestore), int(TrayMenu::mAbout), -1, int(TrayMenu::Count)})
    shell.choice(off);
  EXPECT_TRUE(journal.isEmpty());
  shell.choice(TrayMenu::mMinimize);
  EXPECT_EQ(owner.state, State::Minimized);
  int historyWanted = 0;
  QObject::connect(&tray, &FrmSysTray::historyWanted, [&] { ++historyWanted; });
  shell.choice(TrayMenu::mHistory);
  EXPECT_EQ(historyWanted, 1);
  shell.choice(TrayMenu::mExit);
  EXPECT_EQ(owner.unloads, 1);
  SignalCounter board(&tray, &FrmSysTray::boardChosen);
  shell.choice(TrayMenu::mBoard);
  EXPECT_EQ(board.count, 1);
  EXPECT_EQ(historyWanted, 1); // each entry opens its own window only
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
  EXPECT_EQ(journal, list({"state 2", "show", "foreground"}));
  EXPECT_EQ(owner.state, State::Maximized);
  journal.clear();
  tray.mRestore_Click(); // visible and not minimised: nothing to do
  EXPECT_TRUE(journal.isEmpty());
}

TEST_F(Tray, LockStopsRestoreAlwaysAndExitFromModeTwoButNeverMinimise) {
  owner.visible = false;
  for (std::int16_t mode : {3, 2, 1}) {
    lockMode = mode;
    tray.mRestore_Click();
  }
  shell.mouse(515);
  EXPECT_EQ(journal, list({"LBUTTONDBLCLK"}));
  EXPECT_FALSE(owner.visible);
  for (const auto& [mode, unloads] : {std::pair<std::int16_t, int>{2, 0}, {3, 0}, {0, 1}, {1, 2}}) {
    lockMode = mode;
    tray.mExit_Click();
    EXPECT_EQ(owner.unloads, unloads) << mode;
  }
  lockMode = 3;
  tray.mMinimize_Click();
  EXPECT_EQ(owner.state, State::Minimized);
}

TEST_F(Tray, WithoutAnOwnerMenuAndDoubleClickDoNothingHarmful) {
  tray.setFSys(nullptr);
  shell.mouse(515);
  shell.mouse(517);
  tray.mExit_Click();
  tray.mMinimize_Click();
  tray.FSys_Resize();
  EXPECT_EQ(clicks, list({"LBUTTONDBLCLK", "RBUTTONUP"}));
  EXPECT_TRUE(shell.opened.has_value());
}

TEST_F(Tray, RequestsAndClicksAreLogged) {
  tray.setTooltip(QStringLiteral("12:00:00 Florian\t1"));
  tray.MeModify();
  tray.MeHide();
  shell.mouse(513, Qt::ShiftModifier);
  EXPECT_EQ(logFile.lines(),
            list({"tray\tadd\tmeldlux", "tray\tmodify\t12:00:00 Florian\\t1",
                  "tray\tdelete\t12:00:00 Florian\\t1", "click\tLBUTTONDOWNSHIFT"}));
}

} // namespace
} // namespace meldlux
