#include "dispatch_fixture.h"

#include "base/ole_date.h"

#include <QDateTime>

namespace meldlux::testing {
namespace {

using Kind = RecordingHandlers::Kind;

OleDate at(int year, int month, int day, int hour, int minute, int second) {
  return toOleDate(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

struct TextRow {
  const char* name;
  QString line;
  QString expected;
};

// Vehicle telegrams of either format, status other than 10 unless the row says so.
TEST_F(DispatchTest, VehicleTextDerivation) {
  const std::vector<TextRow> rows = {
      {"tab, place code 7", tabFms("3", "0", "1", "7"), "Musterstadt"},
      {"tab, place code 150", tabFms("3", "0", "1", "150"), ""},
      {"tab, place code 100", tabFms("3", "0", "1", "100"), "100"},
      {"tab, place code 6.5 rounds to even", tabFms("3", "0", "1", "6.5"), "06"},
      {"tab, free text", tabFms("3", "0", "2", "7", "  Einsatz "), "Einsatz"},
      {"tab, kind 3", tabFms("3", "0", "3", "7", "Einsatz"), ""},
      {"tab, 13 fields", tabFms("3", "0", "2", "7", {}, 13), ""},
      {"tab, status 10", tabFms("10", "0", "1", "7", " Freitext "), "Freitext"},
      {"marker, Bavaria", marker("64123456", "3", "false", "EGLOF_BAVARIA 007"), "Musterstadt"},
      {"marker, Bavaria above 100", marker("64123456", "3", "false", "EGLOF_BAVARIA 101"), "101"},
      {"marker, tag with colon", marker("64123456", "3", "false", "EGLOF_ALARM : Einsatz"),
       "Einsatz"},
      {"marker, two-word tag", marker("64123456", "3", "false", "EGLOF_X Y Rest des Textes"),
       "Rest des Textes"},
      {"marker, one space", marker("64123456", "3", "false", "EGLOF_X Y"), "EGLOF_X Y"},
      {"marker, no tag", marker("64123456", "3", "false", "  Hallo : Welt "), "Hallo : Welt"},
      {"marker, status 10 GPS", marker("64123456", "10", "false", "EGLOF_GPSINFO : 48.1 11.5"),
       "48.1 11.5"},
      {"marker, status 10 GPS inside",
       marker("64123456", "10", "false", " Pos EGLOF_GPSINFO : 48.1 "), "Pos 48.1"},
      {"marker, 11 fields", marker("64123456", "3", "false", "Text", 11), ""},
  };
  for (const TextRow& row : rows) {
    SCOPED_TRACE(row.name);
    handlers.calls.clear();
    receiveLine(row.line);
    ASSERT_EQ(handlers.calls.size(), 1u);
    EXPECT_EQ(handlers.last().kind, Kind::FmsVehicle);
    EXPECT_EQ(handlers.last().first, QStringLiteral("64123456"));
    EXPECT_EQ(handlers.last().text, row.expected);
  }
}

TEST_F(DispatchTest, ControlCentreTextDerivation) {
  const std::vector<TextRow> rows = {
      {"marker, number suffix", marker("64123456", "10", "true", "Bitte melden (12)"),
       "Bitte melden"},
      {"marker, letter suffix", marker("64123456", "10", "true", "Test(A)"), "Test"},
      {"marker, TRN", marker("64123456", "10", "true", "x;TRN"), "x&&TRN"},
      {"marker, TRN twice", marker("64123456", "10", "true", ";TRN a;TRN"), "&&TRN a&&TRN"},
      {"marker, suffix too long", marker("64123456", "10", "true", "Text (123)"), "Text (1"},
      {"marker, just a parenthesis", marker("64123456", "10", "true", "x)"), "x)"},
      {"marker, status 3", marker("64123456", "3", "true", "Text"), ""},
      {"marker, 11 fields", marker("64123456", "10", "true", {}, 11), ""},
      {"marker, any direction but false", marker("64123456", "10", "False", "T"), "T"},
      {"tab, TRN", tabFms("10", "1", {}, {}, "x&TRN"), "x&&TRN"},
      {"tab, parenthesis kept", tabFms("10", "1", {}, {}, " Bitte melden (12) "),
       "Bitte melden (12)"},
      {"tab, status 3", tabFms("3", "1", "2", {}, "Text"), ""},
      {"tab, 9 fields", tabFms("10", "1", {}, {}, {}, 9), ""},
  };
  for (const TextRow& row : rows) {
    SCOPED_TRACE(row.name);
    handlers.calls.clear();
    receiveLine(row.line);
    ASSERT_EQ(handlers.calls.size(), 1u);
    EXPECT_EQ(handlers.last().kind, Kind::FmsControl);
    EXPECT_EQ(handlers.last().text, row.expected);
  }
}

TEST_F(DispatchTest, NineFieldTabLinesAreTelegramsWithoutText) {
  receive(tabFms("10", "0", {}, {}, {}, 9) + "\r\n" + tabFms("3", "2", {}, {}, {}, 9));
  ASSERT_EQ(handlers.calls.size(), 2u);
  EXPECT_EQ(handlers.calls[0].kind, Kind::FmsVehicle);
  EXPECT_EQ(handlers.calls[0].status, 10);
  EXPECT_EQ(handlers.calls[1].kind, Kind::FmsControl);
  EXPECT_EQ(handlers.calls[1].status, 3);
  EXPECT_TRUE(handlers.calls[0].text.isEmpty());
  EXPECT_TRUE(handlers.calls[1].text.isEmpty());
}

TEST_F(DispatchTest, TabLinesCarryNoTime) {
  receive(QStringLiteral("ZVEI\t 12345 \tx\r\nPOC\t 1234567 \t 4 \t Alarm Wache \r\n") +
          tabFms(" 4.4", "0"));
  ASSERT_EQ(handlers.calls.size(), 3u);
  EXPECT_EQ(handlers.calls[0].kind, Kind::Zvei);
  EXPECT_EQ(handlers.calls[0].first, " 12345 "); // passed on untrimmed
  EXPECT_EQ(handlers.calls[1].kind, Kind::Pocsag);
  EXPECT_EQ(handlers.calls[1].first, "1234567");
  EXPECT_EQ(handlers.calls[1].function, "4");
  EXPECT_EQ(handlers.calls[1].text, "Alarm Wache");
  EXPECT_EQ(handlers.calls[2].status, 4);
  for (const auto& call : handlers.calls)
    EXPECT_EQ(call.time, 0.0);
}

TEST_F(DispatchTest, MarkerLinesCarryTheirDateAndTime) {
  receiveLine(marker("12345", "16", "false"));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().kind, Kind::Zvei);
  EXPECT_EQ(handlers.last().first, "12345");
  EXPECT_DOUBLE_EQ(handlers.last().time, at(2026, 12, 4, 20, 15, 0));
}

TEST_F(DispatchTest, MarkerLinesWithoutDateGetTheArrivalTime) {
  QString line = marker("12345", "16", "false");
  line.replace(QStringLiteral("#!XX!#04.12.26"), QStringLiteral("#!YY!#04.12.26"));
  receiveLine(line);
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_DOUBLE_EQ(handlers.last().time, clock.now());
}

TEST_F(DispatchTest, MarkerDatesReadLikeTheGeneralDateReading) {
  // Two-digit years around the century switch, the last day of months, leap days, midnight.
  const char* dates[] = {"01.01.00", "31.12.29", "01.01.30", "31.12.99", "29.02.24",
                         "28.02.23", "30.04.26", "31.01.26", "15.06.70"};
  const char* times[] = {"00:00:00", "23:59:59", "12:34:56", "07:08:09"};
  for (const char* date : dates) {
    for (const char* time : times) {
      SCOPED_TRACE(std::string(date) + " " + time);
      handlers.calls.clear();
      receiveLine(marker("1", "16", "false", {}, 11, date, time));
      ASSERT_EQ(handlers.calls.size(), 1u);
      EXPECT_EQ(handlers.last().time,
                parseOleDate(QString::fromLatin1(date) + u' ' + QString::fromLatin1(time)));
    }
  }
}

TEST_F(DispatchTest, DatesInAnotherReadableFormAreAccepted) {
  receiveLine(marker("1", "16", "false", {}, 11, " 4.12.26", "20:15"));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_DOUBLE_EQ(handlers.last().time, at(2026, 12, 4, 20, 15, 0));
}

TEST_F(DispatchTest, UnreadableDatesAreCountedThenDropped) {
  const std::vector<std::pair<QString, QString>> bad = {
      {"31.02.26", "20:15:00"}, {"04.13.26", "20:15:00"}, {"04.12.26", "24:00:00"},
      {"04.12.26", "20:60:00"}, {"04-12-26", "20:15:00"}, {"04.12.26", ""},
      {"xx.12.26", "20:15:00"}, {"", "20:15:00"}};
  for (const auto& [date, time] : bad) {
    SCOPED_TRACE((date + u' ' + time).toStdString());
    const auto before = state.ReceivedTotal;
    handlers.calls.clear();
    receive(marker("1", "16", "false", {}, 11, date, time) + "\r\nZVEI\t2");
    EXPECT_EQ(state.ReceivedTotal, before + 2);
    ASSERT_EQ(handlers.calls.size(), 1u); // only the line after it
    EXPECT_EQ(handlers.last().first, "2");
  }
}

TEST_F(DispatchTest, MarkerPocsagSplitsRicAndFunction) {
  receive(marker("1234", "17", "false", "  Alarm  ") + "\r\n" + marker("1234", "17", "x", {}, 11));
  ASSERT_EQ(handlers.calls.size(), 2u);
  EXPECT_EQ(handlers.calls[0].kind, Kind::Pocsag);
  EXPECT_EQ(handlers.calls[0].first, "123");
  EXPECT_EQ(handlers.calls[0].function, "4");
  EXPECT_EQ(handlers.calls[0].text, "Alarm");
  EXPECT_EQ(handlers.calls[1].text, ""); // exactly 11 fields: no text
}

TEST_F(DispatchTest, MarkerPocsagWithEmptyIdentifierIsDropped) {
  receive(marker("", "17", "false", "Alarm") + "\r\n" + marker("9", "17", "false", "B"));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().first, "");
  EXPECT_EQ(handlers.last().function, "9");
  EXPECT_EQ(state.ReceivedTotal, 2);
}

TEST_F(DispatchTest, TabPocsagWithEmptyRicIsHandled) {
  receiveLine(QStringLiteral("POC\t  \t1\tText"));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().first, "");
}

TEST_F(DispatchTest, StatusNumbersAreRoundedHalfToEven) {
  receive(tabFms("2.5", "0") + "\r\n" + marker("1", "3.5", "false") + "\r\n" +
          marker("1", " 7abc", "true"));
  ASSERT_EQ(handlers.calls.size(), 3u);
  EXPECT_EQ(handlers.calls[0].status, 2);
  EXPECT_EQ(handlers.calls[1].status, 4);
  EXPECT_EQ(handlers.calls[2].status, 7);
}

TEST_F(DispatchTest, TypeCodesAreComparedAsText) {
  receiveLine(marker("64123456", "16.0", "false"));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().kind, Kind::FmsVehicle);
  EXPECT_EQ(handlers.last().status, 16);
}

TEST_F(DispatchTest, RejectedTabLinesAreCountedWhenTheyHoldATab) {
  receive(QStringLiteral("ZVEI12345\r\nFMSTlg\r\nZVEIX\t1\r\nPOC\t1\t2\r\n") +
          tabFms("3", "0", {}, {}, {}, 8) + "\r\n" + tabFms("19", "0") + "\r\n" +
          tabFms("18.5", "1") + "\r\n" + tabFms("1e9", "0"));
  EXPECT_EQ(state.ReceivedTotal, 6); // all but the two without TAB
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(state.LastVehicleTelegram, 0.0); // the status test comes before the traffic step
  EXPECT_EQ(state.StarCount, 0);
}

TEST_F(DispatchTest, RejectedMarkerLinesAreNotCounted) {
  QStringList tenFields(10, QStringLiteral("x"));
  receive(tenFields.join(QStringLiteral("#![]!#")) + "\r\n" + marker("64123456", "19", "false") +
          "\r\n" + marker("1", "99999", "true") + "\r\n" + marker("1", "1e9", "false"));
  EXPECT_EQ(state.ReceivedTotal, 0);
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(state.LastVehicleTelegram, 0.0);
  EXPECT_EQ(state.StarCount, 0);
}

TEST_F(DispatchTest, NegativeStatusReachesTheHandler) {
  // The server never sends one; the handler's own table access rejects it.
  receive(tabFms("-1", "0") + "\r\n" + marker("1", "-1", "true"));
  ASSERT_EQ(handlers.calls.size(), 2u);
  EXPECT_EQ(handlers.calls[0].status, -1);
  EXPECT_EQ(handlers.calls[1].status, -1);
}

TEST_F(DispatchTest, StatusThatDoesNotFitIsCountedThenDropped) {
  receive(tabFms("-99999", "1") + "\r\n" + marker("1", "-1e9", "true") + "\r\nZVEI\t5");
  EXPECT_EQ(state.ReceivedTotal, 3);
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().first, "5");
}

TEST_F(DispatchTest, NegativePlaceCodeDropsTheLine) {
  receive(tabFms("3", "0", "1", "-1") + "\r\n" + marker("1", "3", "false", "EGLOF_BAVARIA -05") +
          "\r\nZVEI\t5");
  EXPECT_EQ(state.ReceivedTotal, 3);
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().first, "5");
  EXPECT_GT(state.LastVehicleTelegram, 0.0); // the traffic step ran before the failure
}

TEST_F(DispatchTest, HandlerFailureDropsOnlyItsLine) {
  handlers.failNext = true;
  clock.advance(200);
  receive(tabFms("3", "1") + "\r\n" + tabFms("4", "1"));
  EXPECT_EQ(handlers.calls.size(), 2u);
  EXPECT_EQ(state.ReceivedTotal, 2);
  EXPECT_EQ(state.StarCount, 2);                 // raised for the failed line and kept
  EXPECT_EQ(statusLabel.caption(), "Unbekannt"); // a line's failure shows nothing
}

TEST_F(DispatchTest, WithoutHandlersLinesAreStillCounted) {
  receiver.setHandlers(nullptr);
  receive(tabFms("3", "0") + "\r\n" + marker("1", "17", "false"));
  EXPECT_EQ(state.ReceivedTotal, 2);
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
}

} // namespace
} // namespace meldlux::testing
