// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/failure.h"
#include "base/formats.h"
#include "link/traffic_mode_tracker.h"
#include "popup_fixture.h"

namespace meldlux::testing {
namespace {

using Lines = PopupFixture;

TEST_F(Lines, ThreeLinesOfFourFreshCollapsedShiftPressShowsAllReleaseCollapses) {
  set(Text::txtMsgLines, "3");
  for (int i = 1; i <= 4; ++i) {
    message(QStringLiteral("Meldung %1").arg(i));
    advance(1);
  }
  EXPECT_EQ(view(), "shown rows=3 last=2 expanded=0");
  EXPECT_EQ(popup.lineCount(), 4);
  EXPECT_TRUE(popup.lblText(3).visible); // loaded and visible, but outside the window
  popup.lblText_MouseDown(1, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(view(), "shown rows=4 last=2 expanded=1");
  popup.lblText_MouseUp(1);
  EXPECT_EQ(view(), "shown rows=3 last=2 expanded=0");
}

TEST_F(Lines, NewestLineFirstWithItsTimeColourAndTrimmedText) {
  message(QStringLiteral("  Erste  "), 255);
  advance(61);
  message(QStringLiteral("Zweite"), 16711680);
  EXPECT_EQ(popup.lblText(0).caption, "Zweite");
  EXPECT_EQ(popup.lblText(1).caption, "Erste");
  EXPECT_EQ(popup.lblZeit(0).caption, formatTime(clock.now()));
  EXPECT_EQ(popup.lblZeit(1).foreColor, 255);
  EXPECT_EQ(popup.lblText(0).foreColor, 16711680);
  EXPECT_EQ(popup.lblText(1).top, kRow);
  EXPECT_EQ(popup.lblZeit(1).top, kRow);
  EXPECT_TRUE(popup.lblText(0).bold);  // MarkNewestLine
  EXPECT_FALSE(popup.lblText(1).bold); // LayoutPopup un-bolds the older lines
  EXPECT_THROW(popup.lblText(2), Failure);
}

TEST_F(Lines, MsgTimeZeroKeepsLinesForADayAndStartsNoDisplayTimer) {
  set(Text::txtMsgTime, "0");
  message(QStringLiteral("Alarm"));
  EXPECT_FALSE(popup.Timer1().isActive());
  EXPECT_EQ(lastLineAfter(86399), 0);
  EXPECT_EQ(lastLineAfter(2), -1);
  popup.LoaderNotice(QStringLiteral("5 Orte geladen"), 16777215);
  EXPECT_FALSE(popup.Timer1().isActive());
}

TEST_F(Lines, MsgTimeTenAgesLinesOutANewLineStandsAloneARecentIndicatorKeepsOneOpen) {
  set(Text::txtMsgTime, "10");
  set(Text::txtMsgLines, "3");
  message(QStringLiteral("Eins"));
  advance(1);
  message(QStringLiteral("Zwei"));
  EXPECT_EQ(popup.LastLine(), 1);
  EXPECT_TRUE(popup.Timer1().isActive());
  EXPECT_EQ(popup.Timer1().interval(), 10000);

  EXPECT_EQ(lastLineAfter(9.5), 0); // "Eins" is 10.5 s old, "Zwei" 9.5 s
  EXPECT_EQ(lastLineAfter(1), -1);

  message(QStringLiteral("Drei"));
  EXPECT_EQ(view(), "shown rows=1 last=0 expanded=0");

  // A recent indicator keeps the first line open.
  EXPECT_EQ(lastLineAfter(30), -1);
  popup.IndicatorTime = clock.now() - 5 / kSecondsPerDay;
  EXPECT_EQ(lastLineAfter(0), 0);
  EXPECT_EQ(lastLineAfter(6), -1);
}

TEST_F(Lines, ElementsAreLoadedOnDemandAndNeverUnloaded) {
  set(Text::txtMsgTime, "5");
  EXPECT_EQ(popup.lineCount(), 1);
  messages(3);
  EXPECT_EQ(popup.lineCount(), 3);
  EXPECT_EQ(lastLineAfter(60), -1);
  EXPECT_EQ(popup.lineCount(), 3);
  messages(40);
  EXPECT_EQ(popup.lineCount(), 31);
}

TEST_F(Lines, FractionalMsgLinesRoundsHalfToEven) {
  set(Text::txtMsgLines, "2.5");
  messages(4);
  EXPECT_EQ(view(), "shown rows=2 last=1 expanded=0");
}

using Duplicates = PopupFixture;

TEST_F(Duplicates, SameTrimmedTextInsideSuppressSecondsOnly) {
  const QString text = QStringLiteral("Florian Musterstadt 1/46-1 Status 3");
  message(text);
  advance(59);
  EXPECT_TRUE(popup.IsRecentDuplicate(u' ' + text + u' '));
  EXPECT_FALSE(popup.IsRecentDuplicate(text.toLower())); // case counts
  EXPECT_FALSE(popup.IsRecentDuplicate(QString()));      // empty slots never match
  advance(1);
  EXPECT_FALSE(popup.IsRecentDuplicate(text));
  options.SuppressSeconds = 120;
  EXPECT_TRUE(popup.IsRecentDuplicate(text));
}

TEST_F(Duplicates, AddMessageHandsBackTheReplacedTextAndLogsIt) {
  replacements.rows[0] = {QStringLiteral("a"), QStringLiteral("ä")};
  replacements.ReplacementCount = 1;
  QString text = QStringLiteral("Alarm\tHalle");
  popup.ShowPopup();
  popup.AddMessage(clock.now(), text, 255);
  popup.ShowPopup(); // already shown: nothing to log
  popup.lblSpricht_Click();
  EXPECT_EQ(text, "Alärm\tHälle");
  EXPECT_FALSE(popup.IsRecentDuplicate(QStringLiteral("Alarm\tHalle")));
  EXPECT_TRUE(popup.IsRecentDuplicate(text));
  // Every message and every visibility change is logged.
  EXPECT_EQ(logFile.lines(),
            (QStringList{"popup\tshown",
                         "message\t" + formatDateTime(clock.now()) + "\t255\tAlärm\\tHälle",
                         "popup\thidden"}));
}

TEST_F(Duplicates, ATextGrownPastTheCapIsStillAddedCutAtIt) {
  for (int k = 0; k < 20; ++k)
    replacements.rows[std::size_t(k)] = {QStringLiteral("A"), QStringLiteral("AA")};
  replacements.ReplacementCount = 20;
  QString text = QStringLiteral("ZVEI A");
  popup.AddMessage(clock.now(), text, 255);
  EXPECT_EQ(text, QStringLiteral("ZVEI ") + QString(kMaxReplacedLength - 5, u'A'));
  EXPECT_TRUE(popup.IsRecentDuplicate(text)); // in the list
}

using Hold = PopupFixture;

TEST_F(Hold, RightPressHoldsThePopupHiddenAgainstEveryShowButTheOptions) {
  set(Text::txtReClickHide, "-20");
  message(QStringLiteral("Eins"));
  ASSERT_TRUE(popup.visible());
  int stacking = 0;
  QObject::connect(&popup, &PopupModel::stackingRequested, [&] { ++stacking; });

  rightPress();
  EXPECT_FALSE(popup.visible());
  EXPECT_DOUBLE_EQ(popup.HiddenUntil, clock.now() + 20 / kSecondsPerDay);

  advance(10);
  popup.Timer1().stop();
  const int restoredBefore = foreground.restored;
  popup.ShowPopup();
  EXPECT_FALSE(popup.visible());
  EXPECT_EQ(stacking, 0);
  EXPECT_EQ(foreground.restored, restoredBefore);
  EXPECT_TRUE(popup.Timer1().isActive()); // the display timer still restarts

  message(QStringLiteral("Zwei"));
  popup.TrayClick(u"LBUTTONDOWN");
  popup.TrayClick(u"LBUTTONDOWNSHIFT");
  EXPECT_FALSE(popup.visible());

  advance(10.5);
  popup.ShowPopup();
  EXPECT_TRUE(popup.visible());
  EXPECT_EQ(stacking, 1);
  EXPECT_EQ(foreground.restored, restoredBefore + 1);
}

TEST_F(Hold, ZeroSecondsEndsTheHoldAtOnceAnUncheckedBoxOrOneBeyondReachOnlyHides) {
  set(Text::txtReClickHide, "1e300");
  message(QStringLiteral("Eins"));
  rightPress();
  EXPECT_FALSE(popup.visible());
  EXPECT_EQ(popup.HiddenUntil, 0);

  set(Text::txtReClickHide, "0");
  popup.ShowPopup();
  rightPress();
  EXPECT_FALSE(popup.visible());
  advance(0.001);
  popup.ShowPopup();
  EXPECT_TRUE(popup.visible());

  set(Text::txtReClickHide, "20");
  options.setChecked(Check::chkReClickHide, false);
  popup.ShowPopup();
  rightPress();
  EXPECT_FALSE(popup.visible());
  EXPECT_EQ(popup.HiddenUntil, 0);
  advance(1);
  message(QStringLiteral("Zwei"));
  EXPECT_TRUE(popup.visible());
}

TEST_F(Hold, OptionClicksEndTheHold) {
  message(QStringLiteral("Eins"));
  rightPress();
  ASSERT_GT(popup.HiddenUntil, clock.now());

  options.setChecked(Check::chkMsgVorne, false); // in front off: no show, but the hold ends
  EXPECT_EQ(popup.HiddenUntil, 0);
  EXPECT_FALSE(popup.visible());
  EXPECT_FALSE(popup.topMost());
  options.setChecked(Check::chkMsgVorne, true);
  EXPECT_TRUE(popup.visible());
  EXPECT_TRUE(popup.topMost());

  rightPress();
  options.setChecked(Check::chkReClickHide, true); // already checked: nothing happens
  EXPECT_GT(popup.HiddenUntil, 0);
  options.setChecked(Check::chkReClickHide, false);
  EXPECT_EQ(popup.HiddenUntil, 0);
  EXPECT_FALSE(popup.visible()); // unchecking only ends the hold

  options.setChecked(Check::chkReClickHide, true);
  rightPress();
  options.setChecked(Check::chkMsgAktiv, false);
  EXPECT_EQ(popup.HiddenUntil, 0);
  EXPECT_FALSE(popup.visible());
  EXPECT_FALSE(cleanup.enabled());
  popup.HiddenUntil = clock.now() + 1;
  options.setChecked(Check::chkMsgVorne, false); // popup off: only the hold ends
  EXPECT_EQ(popup.HiddenUntil, 0);
  EXPECT_FALSE(popup.visible());
  options.setChecked(Check::chkMsgAktiv, true);
  EXPECT_TRUE(popup.visible());
  EXPECT_TRUE(cleanup.enabled());
}

using ZOrder = PopupFixture;

TEST_F(ZOrder, OnlySetTopMostPutsThePopupInTheTopmostBand) {
  std::vector<bool> stacking;
  QObject::connect(&popup, &PopupModel::stackingRequested,
                   [&](bool top) { stacking.push_back(top); });
  EXPECT_FALSE(popup.topMost()); // created as an ordinary window

  // Started with MsgAktiv and MsgVorne "0", then "Aktiv" ticked: shown, but not in front.
  options.setChecked(Check::chkMsgAktiv, false);
  options.setChecked(Check::chkMsgVorne, false);
  options.setChecked(Check::chkMsgAktiv, true);
  EXPECT_TRUE(popup.visible());
  popup.Timer1_Timer();
  message(QStringLiteral("Eins")); // shown again by a message with "Im Vordergrund" off
  EXPECT_TRUE(popup.visible());
  EXPECT_FALSE(popup.topMost());
  EXPECT_TRUE(stacking.empty());

  // "Im Vordergrund" clicked while "Aktiv" is off leaves the z-order alone, both ways.
  options.setChecked(Check::chkMsgAktiv, false);
  options.setChecked(Check::chkMsgVorne, true);
  EXPECT_FALSE(popup.topMost());
  EXPECT_FALSE(popup.visible());
  EXPECT_TRUE(stacking.empty());
  options.setChecked(Check::chkMsgAktiv, true);
  popup.Timer1_Timer();
  message(QStringLiteral("Zwei")); // both ticked: ShowPopup takes it topmost
  EXPECT_TRUE(popup.topMost());
  options.setChecked(Check::chkMsgAktiv, false);
  options.setChecked(Check::chkMsgVorne, false);
  EXPECT_TRUE(popup.topMost());
  EXPECT_EQ(stacking, std::vector<bool>{true});
}

using Presses = PopupFixture;

TEST_F(Presses, CtrlPressHidesAndCollapsesTimeLabelClickOnlyHides) {
  messages(2); // one line high
  popup.Form_MouseDown(Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_EQ(view(), "shown rows=2 last=0 expanded=1");
  popup.lblZeit_Click(1);
  EXPECT_EQ(view(), "hidden rows=2 last=0 expanded=1");
  popup.ShowPopup();
  EXPECT_EQ(view(), "shown rows=2 last=0 expanded=1");
  popup.Form_MouseDown(Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(view(), "hidden rows=1 last=0 expanded=0");
  EXPECT_EQ(popup.HiddenUntil, 0); // a left press never holds
}

TEST_F(Presses, Timer1WhileExpandedStopsButKeepsThePopup) {
  message(QStringLiteral("Eins"));
  popup.TrayClick(u"LBUTTONDOWNSHIFT");
  ASSERT_TRUE(popup.Timer1().isActive());
  popup.Timer1_Timer();
  EXPECT_TRUE(popup.visible());
  EXPECT_FALSE(popup.Timer1().isActive());

  popup.Form_MouseUp();
  popup.ShowPopup(); // already visible: only the timer restarts
  EXPECT_TRUE(popup.Timer1().isActive());
  popup.Timer1_Timer();
  EXPECT_FALSE(popup.visible());
  EXPECT_FALSE(popup.Timer1().isActive());
}

TEST_F(Presses, TrayClickTogglesThePopup) {
  messages(2);
  popup.TrayClick(u"LBUTTONDOWNSHIFT");
  EXPECT_EQ(view(), "shown rows=2 last=0 expanded=1");
  popup.TrayClick(u"LBUTTONDOWN");
  EXPECT_EQ(view(), "hidden rows=1 last=0 expanded=0");
  popup.TrayClick(u"RBUTTONDOWN");
  EXPECT_FALSE(popup.visible());
  popup.TrayClick(u"LBUTTONDOWN");
  EXPECT_TRUE(popup.visible());
}

using Placement = PopupFixture;

TEST_F(Placement, BottomEdgeUsesTheHeightBeforeTheLayout) {
  options.OptPosition_Click(1);
  set(Text::txtMsgLines, "3");
  set(Text::txtMsgTime, "10");
  message(QStringLiteral("Eins"));
  EXPECT_EQ(popup.top(), kScreenHeight - kRow);
  message(QStringLiteral("Zwei"));
  // Placed while one row high, then grown: the second row hangs below the screen edge.
  EXPECT_EQ(popup.height(), 2 * kRow);
  EXPECT_EQ(popup.top(), kScreenHeight - kRow);
  popup.CollapsePopup();
  EXPECT_EQ(popup.top() + popup.height(), kScreenHeight);

  advance(11);
  message(QStringLiteral("Drei"));
  // Placed while two rows high, then shrunk to one: a gap opens under it.
  EXPECT_EQ(popup.height(), kRow);
  EXPECT_EQ(popup.top(), kScreenHeight - 2 * kRow);

  // Expanding places it with its full height: all three rows end at the screen edge.
  popup.ExpandPopup();
  EXPECT_EQ(popup.height(), 3 * kRow);
  EXPECT_EQ(popup.top(), kScreenHeight - 3 * kRow);
  popup.CollapsePopup();
  EXPECT_EQ(popup.top(), kScreenHeight - kRow);

  options.OptPosition_Click(0); // moves only at the next placement
  EXPECT_EQ(popup.top(), kScreenHeight - kRow);
  popup.ExpandPopup();
  EXPECT_EQ(popup.top(), 0);
}

TEST_F(Placement, WidthAndLeftFollowThePercentages) {
  set(Text::txtMsgBreite, "12,5");
  EXPECT_EQ(popup.width(), 2400);
  set(Text::txtMsgLinks, "50");
  EXPECT_EQ(popup.left(), 9600);
  // The resize puts "Es Spricht" 100 twips from the right edge.
  EXPECT_EQ(popup.lblSpricht().left, 2400 - 705 - 100);
  EXPECT_EQ(popup.lblSprechwunsch().left, 2400 - 705 - 100 - 1050 - 100);

  set(Text::txtMsgBreite, "1e30");
  EXPECT_GT(popup.width(), 0);
  set(Text::txtMsgBreite, "-50");
  EXPECT_EQ(popup.width(), 0); // no window takes a negative width: none at all
  message(QStringLiteral("Eins"));
  EXPECT_TRUE(popup.visible());
}

TEST_F(Placement, LayoutWithoutResizeLeavesSixtyTwipsResizeAHundred) {
  set(Text::txtMsgLines, "2");
  message(QStringLiteral("Eins")); // one row, as at load: no resize
  EXPECT_EQ(popup.lblSpricht().left, kScreenWidth - 705 - 60);
  message(QStringLiteral("Zwei")); // two rows: the resize follows the layout
  EXPECT_EQ(popup.lblSpricht().left, kScreenWidth - 705 - 100);
  EXPECT_EQ(popup.lblText(1).left, 60 + 390 + 100);
}

using Burst = PopupFixture;

TEST_F(Burst, LabelsWaitForTheTickAfterTheWindowReset) {
  set(Text::txtMsgLines, "1");
  message(QStringLiteral("Vorher"));
  link.ReceiveBurstStart = float(clock.secondsSinceMidnight());
  link.ReceiveBurstCount = 10;
  messages(10, QStringLiteral("Burst "));
  EXPECT_EQ(popup.lblText(0).caption, "Vorher");
  EXPECT_EQ(popup.messages()[0].Text, "Burst 9");

  tick(3);
  EXPECT_EQ(popup.lblText(0).caption, "Vorher");
  EXPECT_EQ(link.ReceiveBurstCount, 10);
  tick(3); // window older than 5 s: this tick resets it after its refresh
  EXPECT_EQ(popup.lblText(0).caption, "Vorher");
  EXPECT_EQ(link.ReceiveBurstCount, 0);
  EXPECT_FLOAT_EQ(link.ReceiveBurstStart, float(clock.secondsSinceMidnight()));
  tick(1);
  EXPECT_EQ(popup.lblText(0).caption, "Burst 9");
}

TEST_F(Burst, CleanupTickRunsEverySecondWhilePopupMessagesAreOn) {
  rules.armPopup();
  EXPECT_TRUE(cleanup.enabled());
  EXPECT_EQ(cleanup.TimerCleanup().interval(), 1000);
  EXPECT_TRUE(popup.visible());
  options.setChecked(Check::chkMsgAktiv, false);
  EXPECT_FALSE(cleanup.enabled());
}

using Appearance = PopupFixture;

TEST_F(Appearance, FontGoesToTheFirstLabelsAndLaterLinesCopyIt) {
  message(QStringLiteral("Eins"));
  popup.applyFont(PopupFont{QStringLiteral("DejaVu Sans"), 19.5, true, true});
  EXPECT_EQ(popup.lblZeit(0).height, 2 * kRow);
  EXPECT_EQ(popup.lblSpricht().height, 2 * kRow);
  EXPECT_TRUE(popup.lblSprechwunsch().bold);
  EXPECT_EQ(popup.font().name, "DejaVu Sans");
  EXPECT_EQ(popup.font().size, 19.5);
  EXPECT_TRUE(popup.font().bold && popup.font().italic);

  message(QStringLiteral("Zwei"));
  EXPECT_EQ(popup.lblText(1).font.name, "DejaVu Sans");
  EXPECT_TRUE(popup.lblText(1).font.italic);
  EXPECT_FALSE(popup.lblText(1).bold);
  EXPECT_EQ(popup.lblText(1).top, 2 * kRow);
  // A font chosen while several lines are loaded reaches their time labels too.
  popup.applyFont(PopupFont{QStringLiteral("Liberation Sans"), 9, false, false});
  refresh();
  EXPECT_EQ(popup.lblZeit(1).font.name, "Liberation Sans");
  EXPECT_FALSE(popup.lblSprechwunsch().bold); // indicators are not bold after a new line
}

TEST_F(Appearance, BackgroundReachesEverythingIndicatorBoxesSetTheirVisibility) {
  messages(2);
  popup.applyBackColor(16777215);
  EXPECT_EQ(popup.backColor(), 16777215);
  EXPECT_EQ(popup.lblSpricht().backColor, 16777215);
  EXPECT_EQ(popup.lblZeit(1).backColor, 16777215);
  EXPECT_EQ(popup.lblText(1).backColor, 16777215);

  options.setChecked(Check::chkSW, false);
  EXPECT_FALSE(popup.lblSprechwunsch().visible);
  EXPECT_TRUE(popup.lblSpricht().visible);
  options.setChecked(Check::chkES, false);
  EXPECT_FALSE(popup.lblSpricht().visible);
  options.setChecked(Check::chkSW, true);
  EXPECT_TRUE(popup.lblSprechwunsch().visible);
}

class WideCaptions : public PopupFixture {
protected:
  WideCaptions() : PopupFixture(100) {}
};

TEST_F(WideCaptions, ACaptionThatNeedsMoreWidensItsLabel) {
  message(QStringLiteral("Eins"));
  EXPECT_EQ(popup.lblZeit(0).width, 800); // "hh:mm:ss" at 100 twips a character
  EXPECT_EQ(popup.lblText(0).left, 60 + 800 + 100);
  EXPECT_EQ(popup.lblText(0).width, 2535); // short text: design width

  indicators.setCaption(Indicator::Spricht, QStringLiteral(" Spricht: Florian 1/46-1"));
  EXPECT_EQ(popup.lblSpricht().width, 2400);
  refresh();
  EXPECT_EQ(popup.lblSpricht().left, kScreenWidth - 2400 - 60);
  EXPECT_EQ(popup.lblSprechwunsch().left, kScreenWidth - 2400 - 60 - 1200 - 100);
}

TEST_F(Lines, LoaderNoticeShowsForMsgTimeOnlyWhilePopupMessagesAreOn) {
  set(Text::txtMsgTime, "12.5");
  popup.LoaderNotice(QStringLiteral("12 Fahrzeuge geladen"), 16777215);
  EXPECT_EQ(popup.lblText(0).caption, "12 Fahrzeuge geladen");
  EXPECT_EQ(popup.lblText(0).foreColor, 16777215);
  EXPECT_TRUE(popup.visible());
  EXPECT_TRUE(popup.Timer1().isActive());
  EXPECT_EQ(popup.Timer1().interval(), 12500);

  options.setChecked(Check::chkMsgAktiv, false);
  popup.LoaderNotice(QStringLiteral("3 Orte geladen"), 16777215);
  EXPECT_EQ(popup.messages()[0].Text, "12 Fahrzeuge geladen");
}

} // namespace
} // namespace meldlux::testing

namespace meldlux::testing {
namespace {

// The traffic-mode notice writes a label only: a strip the user has hidden stays hidden.
TEST_F(PopupFixture, TrafficModeNoticeLeavesAHiddenPopupHidden) {
  message(QStringLiteral("Eins"));
  popup.setVisible(false);
  options.setChecked(Check::chkMsgAktiv, true);
  TrafficModeTracker tracker(link, clock, options, indicators);
  for (const char* mode : {"Sternverkehr", "Kreisverkehr"}) {
    link.TrafficMode = QString::fromLatin1(mode);
    tracker.ShowTrafficMode();
    EXPECT_TRUE(indicators.lblSpricht().caption.endsWith(QString::fromLatin1(mode)));
    EXPECT_FALSE(popup.visible()) << mode;
  }
}

} // namespace
} // namespace meldlux::testing
