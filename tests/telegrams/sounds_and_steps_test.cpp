// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/clock.h"
#include "base/event_log.h"
#include "base/ole_date.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"
#include "telegrams/alert_sounds.h"
#include "telegrams/handler_steps.h"
#include "telegrams/tray_tip.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace meldlux;

namespace {

const Check kSoundBoxes[] = {Check::chkSndAlarm, Check::chkSndFzg, Check::chkSndText,
                             Check::chkSndSA};

class SoundsTest : public ::testing::Test {
protected:
  SoundsTest() {
    link.ConnectedSince = clock.now();
    for (Check box : kSoundBoxes)
      options.setChecked(box, true);
    options.setText(Text::txtSndAlarm, u"alarm.wav"_qs);
    options.setText(Text::txtSndFzg, u"status.wav"_qs);
    options.setText(Text::txtSndText, u" text.wav"_qs);
    options.setText(Text::txtSndSA, u"C:\\Sounds\\sa.wav"_qs);
  }
  void playAll() {
    sounds.playAlarm();
    sounds.playVehicleStatus();
    sounds.playControlText();
    sounds.playSprechaufforderung(u"63123456"_qs);
  }

  EventLogFile logFile;
  EventLog log{logFile.path()};
  ManualClock clock;
  LinkState link;
  Options options;
  RecordingSoundPlayer player;
  AlertSounds sounds{options, clock, link, log, player};
};

} // namespace

TEST_F(SoundsTest, StatusAndTextSoundsWaitForTheQuietStartAlarmsDoNot) {
  clock.advance(50); // exactly 50 seconds: still quiet
  playAll();
  EXPECT_EQ(player.played, (QStringList{u"alarm.wav"_qs, u"C:\\Sounds\\sa.wav"_qs}));
  clock.advance(0.5);
  player.played.clear();
  playAll();
  EXPECT_EQ(player.played, (QStringList{u"alarm.wav"_qs, u"status.wav"_qs, u" text.wav"_qs,
                                        u"C:\\Sounds\\sa.wav"_qs}));
}

TEST_F(SoundsTest, EachKindHasItsOwnSwitch) {
  clock.advance(60);
  for (Check box : kSoundBoxes)
    options.setChecked(box, false);
  playAll();
  EXPECT_TRUE(player.played.isEmpty());
  EXPECT_TRUE(logFile.lines(u"sound"_qs).isEmpty());
  options.setChecked(Check::chkSndFzg, true);
  playAll();
  EXPECT_EQ(player.played, QStringList{u"status.wav"_qs});
}

TEST_F(SoundsTest, SprechaufforderungWatchesForTheTrimmedIdentifierAnywhere) {
  options.setText(Text::txtSndSAKennung, u" 6312 "_qs);
  for (const QString& identifier : {u"63123456"_qs, u"16312000"_qs, u"64123456"_qs})
    sounds.playSprechaufforderung(identifier);
  EXPECT_EQ(player.played.size(), 2);
  options.setText(Text::txtSndSAKennung, QString());
  sounds.playSprechaufforderung(u"ABCDEFGH"_qs);
  EXPECT_EQ(player.played.size(), 3);
}

TEST_F(SoundsTest, EveryRequestIsLoggedWithTheSettingAsEntered) {
  options.setText(Text::txtSndAlarm, QString());
  sounds.playAlarm();
  sounds.playSprechaufforderung(u"1"_qs);
  EXPECT_EQ(logFile.lines(u"sound"_qs),
            (QStringList{u"sound\t"_qs, u"sound\tC:\\\\Sounds\\\\sa.wav"_qs}));
  EXPECT_EQ(player.played, (QStringList{QString(), u"C:\\Sounds\\sa.wav"_qs}));
}

// A named file that cannot be played gives the shipped sound of its kind instead, and one notice
// per name, however many telegrams ask for it.
TEST_F(SoundsTest, AFileThatCannotBePlayedGivesTheShippedSoundOfItsKindNoticedOncePerName) {
  QStringList notices;
  AlertSounds shipped{options, clock, link, log, player,
                      {u"/usr/share/meldlux/sounds"_qs, [&](const QString& t) { notices << t; }}};
  clock.advance(60); // past the quiet start
  player.unplayable = QStringList{u"alarm.wav"_qs, u" text.wav"_qs, QString(),
                                  u"/usr/share/meldlux/sounds/sprechaufforderung.wav"_qs};
  shipped.playAlarm();
  shipped.playAlarm();
  shipped.playControlText();
  shipped.playVehicleStatus(); // its file plays
  options.setText(Text::txtSndSA, QString());
  shipped.playSprechaufforderung(u"63123456"_qs);
  shipped.playSprechaufforderung(u"63123456"_qs);
  const QString dir = u"/usr/share/meldlux/sounds/"_qs;
  EXPECT_EQ(player.played,
            (QStringList{u"alarm.wav"_qs, dir + u"alarm.wav"_qs, u"alarm.wav"_qs, dir + u"alarm.wav"_qs,
                         u" text.wav"_qs, dir + u"text.wav"_qs, u"status.wav"_qs, QString(),
                         dir + u"sprechaufforderung.wav"_qs, QString(),
                         dir + u"sprechaufforderung.wav"_qs}));
  EXPECT_EQ(notices,
            (QStringList{u"Tondatei \u201Ealarm.wav\u201C nicht abspielbar, Standardton gespielt"_qs,
                         u"Tondatei \u201E text.wav\u201C nicht abspielbar, Standardton gespielt"_qs,
                         u"Keine Tondatei eingestellt, kein Standardton vorhanden"_qs}));
  EXPECT_EQ(logFile.lines(u"sound"_qs).size(), 6); // the requests, not the stand-ins
}

namespace {

class StepsTest : public ::testing::Test {
protected:
  EventLogFile logFile;
  EventLog log{logFile.path()};
  ManualClock clock{parseOleDate(u"05.12.09 07:08:09")};
  LinkState link;
  Options options;
  StatusLabel status{log};
  TrayTip tray{log};
  HandlerSteps steps{clock, link, options, status, tray};
};

} // namespace

TEST_F(StepsTest, StatusLineShowsConnectionTimeAndAllCounters) {
  link.ConnectedSince = parseOleDate(u"04.12.09 20:53:57");
  link.ReceivedTotal = 1234567;
  status.set(u"Verbunden"_qs, StatusLabel::kGreen);
  for (int k = 0; k < 10; ++k)
    steps.countFms();
  steps.countFme();
  steps.countDme();
  steps.countDme();
  EXPECT_EQ(status.caption(),
            u"Verbunden seit 04.12.09 20:53:57 - Empfangen: 1234567 (FMS: 10, FME: 1, DME: 2)"_qs);
  EXPECT_EQ(status.colour(), StatusLabel::kGreen);
  EXPECT_EQ(logFile.lines(u"status"_qs).size(), 14);
}

TEST_F(StepsTest, TimeZeroBecomesNowOtherTimesStay) {
  OleDate zero = 0;
  steps.defaultTime(zero);
  EXPECT_EQ(zero, clock.now());
  const OleDate before = parseOleDate(u"01.01.09 00:00:01");
  OleDate past = before;
  steps.defaultTime(past);
  EXPECT_EQ(past, before);
}

TEST_F(StepsTest, TraySummaryOnlyWithTrayIconAndLoggedOnEachAssignment) {
  options.InTray = false;
  steps.setTraySummary(u"x"_qs);
  EXPECT_EQ(tray.TrayTipText(), QString());
  options.InTray = true;
  steps.setTraySummary(u"12345 Wehr"_qs);
  steps.setTraySummary(u"12345 Wehr"_qs);
  EXPECT_EQ(logFile.lines(u"traytip"_qs), QStringList(2, u"traytip\t07:08:09 12345 Wehr"_qs));
  EXPECT_EQ(tray.TrayTipText(), u"07:08:09 12345 Wehr"_qs);
}
