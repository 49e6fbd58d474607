// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch_fixture.h"

#include "base/ole_date.h"

#include <QDateTime>

namespace meldlux::testing {
namespace {

TEST_F(DispatchTest, VehicleTextDerivation) {
  handlers.scribble = true; // each line starts afresh, whatever the handler left
  expectCalls({
      {tabFms("3", "0", "1", "7"), "V:64123456:3:Musterstadt"},
      {tabFms("3", "0", "1", "150"), "V:64123456:3:"},
      {tabFms("3", "0", "1", "100"), "V:64123456:3:100"},
      {tabFms("3", "0", "1", "101"), "V:64123456:3:"},   // past the last place: no text
      {tabFms("3", "0", "1", "6.5"), "V:64123456:3:06"}, // place code rounds to even
      {tabFms("3", "0", "2", "7", "  Einsatz "), "V:64123456:3:Einsatz"},
      {tabFms("3", "0", "3", "7", "Einsatz"), "V:64123456:3:"},
      {tabFms("3", "0", "2", "7", {}, 13), "V:64123456:3:"},
      {tabFms("10", "0", "1", "7", " Freitext "), "V:64123456:10:Freitext"},
      {vehicle("3", "EGLOF_BAVARIA 007"), "V:64123456:3:Musterstadt"},
      {vehicle("3", "EGLOF_BAVARIA 101"), "V:64123456:3:101"},
      {vehicle("3", "EGLOF_ALARM : Einsatz"), "V:64123456:3:Einsatz"},
      {vehicle("3", "EGLOF_X Y Rest des Textes"), "V:64123456:3:Rest des Textes"},
      {vehicle("3", "EGLOF_X Y"), "V:64123456:3:EGLOF_X Y"},
      {vehicle("3", "  Hallo : Welt "), "V:64123456:3:Hallo : Welt"},
      {vehicle("10", "EGLOF_GPSINFO : 48.1 11.5"), "V:64123456:10:48.1 11.5"},
      {vehicle("10", " Pos EGLOF_GPSINFO : 48.1 "), "V:64123456:10:Pos 48.1"},
      {vehicle("3", "Text", 11), "V:64123456:3:"},
  });
}

TEST_F(DispatchTest, ControlCentreTextDerivation) {
  handlers.scribble = true; // each line starts afresh, whatever the handler left
  expectCalls({
      {control("10", "Bitte melden (12)"), "C:64123456:10:Bitte melden"},
      {control("10", "Test(A)"), "C:64123456:10:Test"},
      {control("10", "x;TRN"), "C:64123456:10:x&&TRN"},
      {control("10", ";TRN a;TRN"), "C:64123456:10:&&TRN a&&TRN"},
      {control("10", "Text (123)"), "C:64123456:10:Text (1"}, // suffix too long
      {control("10", "x)"), "C:64123456:10:x)"},
      {control("10", "(A)"), "C:64123456:10:"}, // the suffix alone
      {control("3", "Text"), "C:64123456:3:"},
      {control("10", {}, 11), "C:64123456:10:"},
      {marker("64123456", "10", "False", "T"), "C:64123456:10:T"}, // any direction but "false"
      {tabFms("10", "1", {}, {}, "x&TRN"), "C:64123456:10:x&&TRN"},
      {tabFms("10", "1", {}, {}, " Bitte melden (12) "), "C:64123456:10:Bitte melden (12)"},
      {tabFms("3", "1", "2", {}, "Text"), "C:64123456:3:"},
      {tabFms("10", "1", {}, {}, {}, 9), "C:64123456:10:"},
  });
}

TEST_F(DispatchTest, StatusAndTypeFields) {
  expectCalls({
      {tabFms("10", "0", {}, {}, {}, 9), "V:64123456:10:"}, // nine fields: no text
      {tabFms("3", "2", {}, {}, {}, 9), "C:64123456:3:"},
      {tabFms(" 4.4", "0"), "V:64123456:4:"},
      {tabFms("2.5", "0"), "V:64123456:2:"}, // half to even
      {vehicle("3.5"), "V:64123456:4:"},
      {control(" 7abc"), "C:64123456:7:"},
      {vehicle("16.0"), "V:64123456:16:"},   // type codes compare as text
      {tabFms("18", "1"), "C:64123456:18:"}, // the highest status there is
      {vehicle("18"), "V:64123456:18:"},
      // The server never sends a negative status; the handler's own table access rejects it.
      {tabFms("-1", "0"), "V:64123456:-1:"},
      {control("-1"), "C:64123456:-1:"},
  });
}

TEST_F(DispatchTest, OnlySpacesMayPrecedeTheNumberOfAField) {
  // A tab or line feed before the digits makes a field that does not begin with a number: 0.
  expectCalls({
      {vehicle("\t3"), "V:64123456:0:"},
      {vehicle("\n19"), "V:64123456:0:"}, // 0, so not above 18: accepted
      {control("\t19"), "C:64123456:0:"},
      {tabFms("\n19", "0"), "V:64123456:0:"},
      {tabFms("3", "0", "\n2", "7", "Einsatz"), "V:64123456:3:"},
      {tabFms("3", "0", "1", "\n7"), "V:64123456:3:00"},
      {vehicle("3", "EGLOF_BAVARIA\n07"), "V:64123456:3:00"},
      {vehicle("   3"), "V:64123456:3:"},
  });
}

TEST_F(DispatchTest, ZveiAndPocsagFields) {
  handlers.scribble = true; // each line starts afresh, whatever the handler left
  expectCalls({
      {"ZVEI\t 12345 \tx", "Z: 12345 "}, // passed on untrimmed
      {"POC\t 1234567 \t 4 \t Alarm Wache ", "P:1234567:4:Alarm Wache"},
      {"POC\t  \t1\tText", "P::1:Text"}, // an empty RIC is handled
      {marker("12345", "16", "false"), "Z:12345"},
      {marker("1234", "17", "false", "  Alarm  "), "P:123:4:Alarm"},
      {marker("1234", "17", "x", {}, 11), "P:123:4:"},             // exactly 11 fields: no text
      {marker("1234 ", "17", "false", "Alarm"), "P:1234: :Alarm"}, // the last character as it is
  });
}

TEST_F(DispatchTest, TabLinesCarryNoTimeMarkerLinesTheirOwn) {
  receive(QStringList{"ZVEI\t1", "POC\t1\t4\tA", tabFms("3", "0"), marker("1", "16", "false"),
                      marker("1", "16", "false", {}, 11, " 4.12.26", "20:15"),  // another form
                      marker("1", "16", "false").replace("#!XX!#", "#!YY!#")}); // no date
  ASSERT_EQ(handlers.times.size(), 6u);
  EXPECT_EQ(std::vector(handlers.times.begin(), handlers.times.begin() + 3),
            std::vector<OleDate>(3, 0.0));
  const OleDate evening = toOleDate(QDateTime(QDate(2026, 12, 4), QTime(20, 15)));
  EXPECT_DOUBLE_EQ(handlers.times[3], evening);
  EXPECT_DOUBLE_EQ(handlers.times[4], evening);
  EXPECT_DOUBLE_EQ(handlers.times[5], clock.now()); // no date: the arrival time
}

TEST_F(DispatchTest, MarkerDatesReadLikeTheGeneralDateReading) {
  // Two-digit years around the century switch, the last day of months, leap days, midnight.
  for (const char* date : {"01.01.00", "31.12.29", "01.01.30", "31.12.99", "29.02.24", "28.02.23",
                           "30.04.26", "31.01.26", "15.06.70"}) {
    for (const char* time : {"00:00:00", "23:59:59", "12:34:56", "07:08:09"}) {
      SCOPED_TRACE(std::string(date) + " " + time);
      handlers.clear();
      receiveLine(marker("1", "16", "false", {}, 11, date, time));
      ASSERT_EQ(handlers.times.size(), 1u);
      EXPECT_EQ(handlers.times[0], parseOleDate(QString(date) + u' ' + QString(time)));
    }
  }
}

TEST_F(DispatchTest, UnreadableDatesAreCountedThenDropped) {
  const std::pair<const char*, const char*> cases[] = {
      {"31.02.26", "20:15:00"}, {"04.13.26", "20:15:00"}, {"04.12.26", "24:00:00"},
      {"04.12.26", "20:60:00"}, {"04.12.26", "20:15:60"}, {"04-12-26", "20:15:00"},
      {"04.12.26", ""},         {"xx.12.26", "20:15:00"}, {"", "20:15:00"}};
  for (const auto& [date, time] : cases) {
    SCOPED_TRACE(std::string(date) + " " + time);
    const auto before = state.ReceivedTotal;
    handlers.clear();
    receive(QStringList{marker("1", "16", "false", {}, 11, date, time), "ZVEI\t2"});
    EXPECT_EQ(state.ReceivedTotal, before + 2);
    EXPECT_EQ(handlers.calls, QStringList{"Z:2"}); // only the line after it
  }
}

TEST_F(DispatchTest, MarkerPocsagWithEmptyIdentifierIsDropped) {
  receive(QStringList{marker("", "17", "false", "Alarm"), marker("9", "17", "false", "B")});
  EXPECT_EQ(handlers.calls, QStringList{"P::9:B"});
  EXPECT_EQ(state.ReceivedTotal, 2);
}

TEST_F(DispatchTest, RejectedTabLinesAreCountedWhenTheyHoldATab) {
  receive(QStringList{"ZVEI12345", "FMSTlg", "ZVEIX\t1", "POC\t1\t2",
                      tabFms("3", "0", {}, {}, {}, 8), tabFms("19", "0"), tabFms("18.5", "1"),
                      tabFms("1e9", "0")});
  EXPECT_EQ(state.ReceivedTotal, 6); // all but the two without TAB
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(state.LastVehicleTelegram, 0.0); // the status test comes before the traffic step
  EXPECT_EQ(state.StarCount, 0);
}

TEST_F(DispatchTest, RejectedMarkerLinesAreNotCounted) {
  receive(QStringList{QStringList(10, "x").join("#![]!#"), vehicle("19"), control("99999"),
                      vehicle("1e9")});
  EXPECT_EQ(state.ReceivedTotal, 0);
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(state.LastVehicleTelegram, 0.0);
  EXPECT_EQ(state.StarCount, 0);
}

TEST_F(DispatchTest, StatusThatDoesNotFitOrNegativePlaceCodeIsCountedThenDropped) {
  receive(QStringList{tabFms("-99999", "1"), control("-1e9"), "ZVEI\t5"});
  EXPECT_EQ(state.ReceivedTotal, 3);
  EXPECT_EQ(handlers.calls, QStringList{"Z:5"});

  receive(QStringList{tabFms("3", "0", "1", "-1"), vehicle("3", "EGLOF_BAVARIA -05"), "ZVEI\t6"});
  EXPECT_EQ(state.ReceivedTotal, 6);
  EXPECT_EQ(handlers.calls, (QStringList{"Z:5", "Z:6"}));
  EXPECT_GT(state.LastVehicleTelegram, 0.0); // the traffic step ran before the failure
}

TEST_F(DispatchTest, HandlerFailureDropsOnlyItsLine) {
  handlers.failNext = true;
  clock.advance(200);
  receive(QStringList{tabFms("3", "1"), tabFms("4", "1")});
  EXPECT_EQ(handlers.calls.size(), 2);
  EXPECT_EQ(state.ReceivedTotal, 2);
  EXPECT_EQ(state.StarCount, 2);                 // raised for the failed line and kept
  EXPECT_EQ(statusLabel.caption(), "Unbekannt"); // a line's failure shows nothing
}

TEST_F(DispatchTest, WithoutHandlersLinesAreStillCounted) {
  receiver.setHandlers(nullptr);
  receive(QStringList{tabFms("3", "0"), marker("1", "17", "false")});
  EXPECT_EQ(state.ReceivedTotal, 2);
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
}

} // namespace
} // namespace meldlux::testing
