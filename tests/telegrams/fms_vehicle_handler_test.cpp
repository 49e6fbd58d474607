// SPDX-License-Identifier: GPL-3.0-or-later
#include "handler_rig.h"

using namespace meldlux;

namespace {
using FmsVehicleTest = HandlerRig;
} // namespace

TEST_F(FmsVehicleTest, NormalStatusGivesLineSoundTrayTipAndStatusColour) {
  receive(fms(u"64123456"_qs, 3, true));
  EXPECT_EQ(lines(), QStringList{kName1 + u"  3 Einsatz Übernommen"_qs});
  EXPECT_EQ(newestColour(), rigColour(3));
  EXPECT_EQ(player.played, QStringList{u"status.wav"_qs});
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 Florian Musterstadt 1/44-1 (3) Einsatz Übernommen"_qs);
  EXPECT_TRUE(popup.visible());
  EXPECT_TRUE(popup.lblText(0).bold);
}

TEST_F(FmsVehicleTest, TextIsBracketedInTheLineSoRepeatsWithTextAreNotSuppressed) {
  for (int k = 0; k < 2; ++k)
    receive(fms(u"64123456"_qs, 4, true, u"2"_qs, {}, u"  Brand Wohnhaus "_qs));
  EXPECT_EQ(lines(), QStringList(2, kName1 + u"  4 Am Einsatzort [Brand Wohnhaus]"_qs));
  // Without a text the second telegram is a repeat: no line, no sound, no tray summary.
  receive(QStringList(2, fms(u"64123456"_qs, 2, true)));
  EXPECT_EQ(counts(), "lines=3 sounds=3");
  EXPECT_EQ(logFile.lines(u"traytip"_qs).size(), 3);
  // After the suppression time it is shown again.
  clock.advance(61);
  receive(fms(u"64123456"_qs, 2, true));
  EXPECT_EQ(lines().size(), 4);
}

TEST_F(FmsVehicleTest, SprechwunschIndicatorInsteadOfALineWhileAnzSWIsOn) {
  clock.set(parseOleDate(u"04.12.26 20:15:07"));
  link.ConnectedSince = clock.now() - 1;
  receive(fms(u"64123456"_qs, 3, true));
  receive(fms(u"63123456"_qs, 5, true));
  EXPECT_EQ(counts(), "lines=1 sounds=1"); // only the status 3
  const Label& sw = indicators.lblSprechwunsch();
  EXPECT_EQ(sw.caption, u"20:15:07 SW: Florian Musterstadt 1/10"_qs);
  EXPECT_TRUE(sw.bold);
  EXPECT_EQ(sw.foreColor, rigColour(5));
  EXPECT_FALSE(indicators.lblSpricht().bold);
  EXPECT_FALSE(popup.lblText(0).bold);
  EXPECT_EQ(popup.IndicatorTime, clock.now());

  options.setChecked(Check::chkSW, false);
  receive(fms(u"63123456"_qs, 5, true));
  EXPECT_EQ(lines().front(), kName2 + u"  5 Sprechwunsch"_qs);
  EXPECT_EQ(player.played.size(), 2);
}

// Bold marks the newest of line 0, Sprechwunsch and Spricht, whichever came last.
TEST_F(FmsVehicleTest, BoldPassesBetweenTheNewestLineAndBothIndicators) {
  options.setChecked(Check::chkES, true);
  struct Step {
    int status;
    bool line0, sprechwunsch, spricht;
  };
  const Step steps[] = {{3, true, false, false}, {5, false, true, false}, {15, false, false, true},
                        {5, false, true, false}, {4, true, false, false}, {15, false, false, true}};
  for (const Step& step : steps) {
    clock.advance(1);
    receive(fms(u"63123456"_qs, step.status, true));
    const std::string at = "after status " + std::to_string(step.status);
    EXPECT_EQ(popup.lblText(0).bold, step.line0) << at;
    EXPECT_EQ(popup.lblZeit(0).bold, step.line0) << at;
    EXPECT_EQ(indicators.lblSprechwunsch().bold, step.sprechwunsch) << at;
    EXPECT_EQ(indicators.lblSpricht().bold, step.spricht) << at;
    if (step.status == 5 || step.status == 15) {
      EXPECT_EQ(popup.IndicatorTime, clock.now()) << at;
    }
  }
}

TEST_F(FmsVehicleTest, SprichtIndicatorOnlyWhileAnzESIsOn) {
  receive(fms(u"63123456"_qs, 15, true));
  const Label& spricht = indicators.lblSpricht();
  EXPECT_EQ(spricht.caption, u"12:00:00 Spricht: Florian Musterstadt 1/10"_qs);
  EXPECT_TRUE(spricht.bold);
  EXPECT_EQ(spricht.foreColor, rigColour(15));
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_TRUE(player.played.isEmpty());

  // With AnzES off nothing is shown, but the popup is still refreshed: a stale line closes.
  options.setChecked(Check::chkES, false);
  options.setText(Text::txtMsgTime, u"10"_qs);
  receive(fms(u"64123456"_qs, 3, true));
  ASSERT_EQ(popup.LastLine(), 0);
  clock.advance(20);
  const QString before = spricht.caption;
  receive(fms(u"64123456"_qs, 15, true));
  EXPECT_EQ(popup.LastLine(), -1);
  EXPECT_EQ(spricht.caption, before);
  EXPECT_EQ(lines().size(), 1);
}

TEST_F(FmsVehicleTest, ShowOnlyListFiltersButTheTelegramStillCountsAndRefreshes) {
  const QString text = fms(u"64123456"_qs, 10, true, {}, {}, u"Lage & Co"_qs);
  receive(QStringList{text, fms(u"64123456"_qs, 12, true)});
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_TRUE(status.caption().endsWith(u"Empfangen: 2 (FMS: 2, FME: 0, DME: 0)"_qs));
  // "010" in the list shows the vehicle's text telegram as received: no brackets, no sound.
  options.setText(Text::txtMsgOnly, u"x010"_qs);
  receive(QStringList(2, text));
  EXPECT_EQ(lines(), QStringList(2, kName1 + u" 10 Lage & Co"_qs));
  EXPECT_EQ(newestColour(), rigColour(10));
  EXPECT_TRUE(player.played.isEmpty());
  // Statuses 11-14 give ordinary lines once listed, with their (empty) status text.
  options.setText(Text::txtMsgOnly, u"012"_qs);
  options.setText(Text::txtMsgTime, u"10"_qs);
  receive(fms(u"64123456"_qs, 12, true));
  EXPECT_EQ(lines().front(), kName1 + u" 12 "_qs);
  EXPECT_EQ(shownLine(), kName1 + u" 12"_qs);
  // A telegram the list filters out still refreshes: the line past its time closes.
  clock.advance(20);
  receive(fms(u"64123456"_qs, 3, true));
  EXPECT_EQ(popup.LastLine(), -1);
}

TEST_F(FmsVehicleTest, UnknownVehicleUnderItsDecodedIdentifier) {
  receive(fms(u"94123456"_qs, 2, true));
  EXPECT_EQ(lines().front(), pad30(u"DRK 12 34/56 (94123456)"_qs) + u"  2 Frei auf Wache"_qs);
  // Short form, and the stripped identifier in brackets.
  receive(fms(u" 9D123456"_qs, 2, true));
  EXPECT_EQ(reference.vehicles.at(0).name.text(), pad30(u"BRK 12/56 (9D123456)"_qs));
  // Not 8 characters: shown as it stands; a long name is cut after 30 characters.
  receive(fms(u"9D12345678901234"_qs, 2, true));
  EXPECT_EQ(reference.vehicles.at(0).name.text(), u"9D12345678901234 (9D1234567890"_qs);

  options.setChecked(Check::chkUnbekFMS, false);
  receive(fms(u"6412345A"_qs, 2, true));
  EXPECT_EQ(lines().size(), 3);
  // Record 0 was still renamed before the telegram was dropped.
  EXPECT_EQ(reference.vehicles.at(0).name.text(), pad30(u"FW 12 34/5A (6412345A)"_qs));
  EXPECT_TRUE(status.caption().contains(u"FMS: 4,"_qs));
}

TEST_F(FmsVehicleTest, BadIdentifierOrNegativeStatusEndsOnlyItsOwnTelegram) {
  receive(QStringList{fms(u"Z4123456"_qs, 2, true), fms(u"X1234567"_qs, 2, true),
                      fms(u"64123456"_qs, 2, true)});
  EXPECT_EQ(lines(), QStringList{kName1 + u"  2 Frei auf Wache"_qs});
  EXPECT_EQ(player.played.size(), 1);
  // The filter comes before the identifier is read: a filtered telegram does not fail.
  receive(fms(u"X1234567"_qs, 12, true));
  EXPECT_TRUE(status.caption().contains(u"Empfangen: 4 (FMS: 4,"_qs));
  // A negative status that passes the filter shows nothing and sounds nothing.
  options.setText(Text::txtMsgOnly, u"0-01"_qs);
  receive(QStringList{fms(u"64123456"_qs, -1, true), fms(u"64123456"_qs, 3, true)});
  EXPECT_EQ(counts(), "lines=1 sounds=1");
  EXPECT_TRUE(status.caption().contains(u"FMS: 6,"_qs));
}

TEST_F(FmsVehicleTest, WithoutPopupMessagesTheSoundAndTrayTipStay) {
  options.setChecked(Check::chkMsgAktiv, false);
  receive(QStringList{fms(u"64123456"_qs, 3, true), fms(u"63123456"_qs, 5, true)});
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_EQ(player.played, QStringList{u"status.wav"_qs});
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 Florian Musterstadt 1/44-1 (3) Einsatz Übernommen"_qs);
  EXPECT_EQ(indicators.lblSprechwunsch().caption, u"Sprechwunsch"_qs);
}

TEST_F(FmsVehicleTest, ReplacementsActOnTheLineButNotOnRepeatsTrayTipOrIndicators) {
  replacements.rows[0] = {u"Florian"_qs, u"Fl."_qs};
  replacements.ReplacementCount = 1;
  receive(QStringList(2, fms(u"64123456"_qs, 3, true)));
  EXPECT_EQ(lines(), QStringList(2, u"Fl. Musterstadt 1/44-1      3 Einsatz Übernommen"_qs));
  EXPECT_TRUE(tray.TrayTipText().contains(u"Florian"_qs));
  receive(fms(u"63123456"_qs, 5, true));
  EXPECT_TRUE(indicators.lblSprechwunsch().caption.contains(u"Florian"_qs));
}

// The time of a marker line is kept, so the same line again is no repeat of an old telegram.
TEST_F(FmsVehicleTest, MarkerLineWithAnOldTimeIsNoRepeat) {
  receive(QStringList(2, u"#!XX!#01.12.26#![]!#08:00:00#![]!#64123456#![]!#3#![]!##![]!#false"
                         u"#![]!##![]!##![]!##![]!##![]!#"_qs));
  EXPECT_EQ(lines().size(), 2);
  // The tray summary tells when it came in here, not the telegram's own time.
  EXPECT_TRUE(tray.TrayTipText().startsWith(u"12:00:00 "_qs)) << tray.TrayTipText().toStdString();
}

// Ten seconds after connecting: lines show as ever, status and text sounds wait, alarms sound.
TEST_F(FmsVehicleTest, QuietStartKeepsEveryLineAndTheAlarmButHoldsStatusAndTextSounds) {
  link.ConnectedSince = clock.now() - 10 / kSecondsPerDay;
  receive(QStringList{fms(u"64123456"_qs, 3, true),
                      fms(u"64123456"_qs, 10, false, {}, {}, u"Lage"_qs), zvei(u"55555"_qs)});
  EXPECT_EQ(lines(), (QStringList{u"55555 Unbekannt"_qs, kName1 + u" 10 Lage"_qs,
                                  kName1 + u"  3 Einsatz Übernommen"_qs}));
  EXPECT_EQ(player.played, QStringList{u"alarm.wav"_qs});
}
