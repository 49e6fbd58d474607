// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/failure.h"
#include "handler_rig.h"
#include "telegrams/alarm_handlers.h"

using namespace meldlux;

namespace {

class ZveiTest : public HandlerRig {
protected:
  ZveiTest() {
    setFiveTone(1, u"12345"_qs, u"FF Musterstadt Vollalarm"_qs);
    setFiveTone(7, u"23456"_qs, u"  THW OV  "_qs);
  }
  void setFiveTone(int index, const QString& code, const QString& name) {
    FiveToneRecord record;
    record.code.store(code);
    record.name.store(name);
    reference.fiveTones.set(index, record);
  }
};

class PocsagTest : public HandlerRig {
protected:
  PocsagTest() {
    reference.pocsag.resize(10);
    setReceiver(1, 1234567, 1, u"Wehrführer"_qs);
    setReceiver(2, 1234567, 2, u"Gruppe 2"_qs);
    setReceiver(3, 2000, 4, u"Erster D"_qs);
    setReceiver(4, 2000, 4, u"Zweiter D"_qs);
  }
  void setReceiver(int index, std::int32_t ric, std::int32_t sub, const QString& name) {
    PocsagRecord record;
    record.ric = ric;
    record.subAddress = sub;
    record.name.store(name);
    reference.pocsag.set(index, record);
  }
};

} // namespace

TEST_F(ZveiTest, KnownCodeTwiceGivesOneLineOneSoundOneTraySummary) {
  receive(QStringList(2, zvei(u"12345"_qs)));
  EXPECT_EQ(lines(), QStringList{u"12345 FF Musterstadt Vollalarm"_qs});
  EXPECT_EQ(shownLine(), lines().front());
  EXPECT_EQ(newestColour(), rigColour(kZvei));
  EXPECT_EQ(player.played, QStringList{u"alarm.wav"_qs});
  EXPECT_EQ(logFile.lines(u"traytip"_qs),
            QStringList{u"traytip\t12:00:00 12345 FF Musterstadt Vollalarm"_qs});
  EXPECT_TRUE(status.caption().endsWith(u"Empfangen: 2 (FMS: 0, FME: 2, DME: 0)"_qs));
  // With HideRIC the code stays out of the line only.
  options.setChecked(Check::chkHideRIC, true);
  receive(zvei(u"23456"_qs));
  EXPECT_EQ(lines().front(), u"THW OV"_qs);
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 23456 THW OV"_qs);
}

TEST_F(ZveiTest, AlarmSoundsAndTraySummaryWithoutPopupMessages) {
  options.setChecked(Check::chkMsgAktiv, false);
  receive(zvei(u"12345"_qs));
  EXPECT_EQ(player.played, QStringList{u"alarm.wav"_qs});
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 12345 FF Musterstadt Vollalarm"_qs);
}

TEST_F(ZveiTest, UnknownCodes) {
  setFiveTone(0, u"99999"_qs, u"nie gesucht"_qs);
  receive(QStringList{zvei(u"99999"_qs), zvei(u"12345 "_qs), zvei(u"1234"_qs)});
  EXPECT_EQ(lines(),
            (QStringList{u"1234 Unbekannt"_qs, u"12345  Unbekannt"_qs, u"99999 Unbekannt"_qs}));
  EXPECT_EQ(shownLine(), lines().front());
  EXPECT_EQ(player.played.size(), 3);
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 1234 Unbekannt"_qs);
  // A repeat: no line, no sound, but the tray summary again, and a hidden popup comes back.
  popup.setVisible(false);
  receive(zvei(u"1234"_qs));
  EXPECT_TRUE(popup.visible());
  EXPECT_EQ(counts(), "lines=3 sounds=3");
  EXPECT_EQ(logFile.lines(u"traytip"_qs).size(), 4);
}

TEST_F(ZveiTest, UnknownCodeWithoutPopupMessagesOnlySetsTheTraySummary) {
  options.setChecked(Check::chkMsgAktiv, false);
  receive(zvei(u"55555"_qs));
  EXPECT_TRUE(player.played.isEmpty());
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 55555 Unbekannt"_qs);

  options.setChecked(Check::chkUnbekFME, false);
  options.setChecked(Check::chkMsgAktiv, true);
  receive(zvei(u"55556"_qs));
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 55555 Unbekannt"_qs);
  EXPECT_TRUE(status.caption().contains(u"FME: 2,"_qs));
}

TEST_F(PocsagTest, SubAddressLettersInEitherCaseOrTheLastRicMatchAreShownAsReceived) {
  receive(QStringList{poc(u"1234567"_qs, u"a"_qs, u"Brand"_qs), poc(u"1234567"_qs, u"B"_qs, {}),
                      poc(u"1234567"_qs, u"3"_qs, u"Test"_qs), poc(u"2000"_qs, u"d"_qs, {})});
  // No record with sub-address 3: the last RIC match; two records with RIC and "d": the first.
  EXPECT_EQ(lines(),
            (QStringList{u"2000 [d] Erster D "_qs, u"1234567 [3] Gruppe 2 Test"_qs,
                         u"1234567 [B] Gruppe 2 "_qs, u"1234567 [a] Wehrführer Brand"_qs}));
  EXPECT_EQ(newestColour(), rigColour(kPocsag));
  EXPECT_EQ(shownLine(), u"2000 [d] Erster D"_qs);
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 2000 [d] Erster D"_qs);
  EXPECT_EQ(player.played.size(), 4);
}

TEST_F(PocsagTest, LeadingZerosVanishForKnownReceiversOnly) {
  receive(
      QStringList{poc(u"0001234567"_qs, u"A"_qs, u"x"_qs), poc(u"000777"_qs, u"A"_qs, u"y"_qs)});
  EXPECT_EQ(lines(), (QStringList{u"000777 [A] Unbekannt y"_qs, u"1234567 [A] Wehrführer x"_qs}));
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 000777 [A] Unbekannt"_qs);
}

TEST_F(PocsagTest, HideRicAndUnknownReceivers) {
  options.setChecked(Check::chkHideRIC, true);
  receive(poc(u"1234567"_qs, u"A"_qs, u" Einsatz "_qs));
  // HideRIC keeps the RIC out of the line, not out of the tray summary.
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 1234567 [A] Wehrführer"_qs);
  receive(poc(u"42"_qs, u"C"_qs, {}));
  EXPECT_EQ(lines(), (QStringList{u"42 [C] Unbekannt "_qs, u"Wehrführer Einsatz"_qs}));
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 42 [C] Unbekannt"_qs);
  // Without popup messages an unknown receiver still sounds and sets the summary.
  options.setChecked(Check::chkMsgAktiv, false);
  receive(poc(u"44"_qs, u"B"_qs, {}));
  EXPECT_EQ(player.played.size(), 3);
  EXPECT_EQ(tray.TrayTipText(), u"12:00:00 44 [B] Unbekannt"_qs);
  // Unknown receivers filtered out, and a repeat, are counted all the same.
  options.setChecked(Check::chkMsgAktiv, true);
  options.setChecked(Check::chkUnbekFME, false);
  receive(QStringList{poc(u"43"_qs, u"C"_qs, {}), poc(u"1234567"_qs, u"A"_qs, u" Einsatz "_qs)});
  EXPECT_EQ(counts(), "lines=2 sounds=3");
  EXPECT_TRUE(status.caption().endsWith(u"DME: 5)"_qs)) << status.caption().toStdString();
}

TEST_F(PocsagTest, RepeatWithinTheSuppressionTimeTrailingBlankIncluded) {
  receive(QStringList(2, poc(u"1234567"_qs, u"A"_qs, {})));
  EXPECT_EQ(counts(), "lines=1 sounds=1");
  options.setChecked(Check::chkMsgAktiv, false);
  clock.advance(61);
  receive(poc(u"1234567"_qs, u"A"_qs, {}));
  EXPECT_EQ(counts(), "lines=1 sounds=2"); // the sound does not need the popup
}

TEST(PocsagSubAddress, LettersNumbersAndAnythingElse) {
  const std::pair<QString, int> cases[] = {{u"a"_qs, 1}, {u"b"_qs, 2}, {u"C"_qs, 3},
                                           {u"D"_qs, 4}, {u"E"_qs, 0}, {u" 2.5"_qs, 2},
                                           {u"AB"_qs, 0}};
  for (const auto& [text, number] : cases)
    EXPECT_EQ(PocsagHandler::subAddressNumber(text), number) << text.toStdString();
  EXPECT_EQ(PocsagHandler::subAddressNumber(u"-32768"_qs), -32768);
  EXPECT_THROW(PocsagHandler::subAddressNumber(u"32768"_qs), Failure);
}

// A sub-address past 16 bits ends its own telegram only.
TEST_F(PocsagTest, SubAddressPastSixteenBitsDropsOnlyItsLine) {
  receive(QStringList{poc(u"1234567"_qs, u"70000"_qs, u"weg"_qs), poc(u"42"_qs, u"C"_qs, {})});
  EXPECT_EQ(lines(), QStringList{u"42 [C] Unbekannt "_qs});
}
