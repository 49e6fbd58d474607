#include "base/failure.h"
#include "base/formats.h"
#include "base/ole_date.h"

#include <gtest/gtest.h>

using namespace meldlux;

TEST(Formats, TwoDigitsAndRightAligned) {
  EXPECT_EQ(formatTwoDigits(7), u"07");
  EXPECT_EQ(formatTwoDigits(0), u"00");
  EXPECT_EQ(formatTwoDigits(100), u"100");
  EXPECT_EQ(formatRightAligned2(5), u" 5");
  EXPECT_EQ(formatRightAligned2(12), u"12");
  EXPECT_EQ(formatRightAligned2(123), u"123");
  EXPECT_EQ(formatRightAligned2(-1), u"-1");
}

TEST(Formats, PlainDecimal) {
  EXPECT_EQ(formatDecimal(qint64(2147483647)), u"2147483647");
  EXPECT_EQ(formatDecimal(100.0), u"100");
  EXPECT_EQ(formatDecimal(double(12.5f)), u"12.5");
  EXPECT_EQ(formatDecimal(double(33.3f)), u"33.3"); // a single's digits, not the double's
  EXPECT_EQ(formatDecimal(-0.25), u"-0.25");
}

TEST(Formats, TimeAndDateTime) {
  const OleDate d = parseOleDate(u"04.12.26 20:53:57");
  EXPECT_EQ(formatTime(d), u"20:53:57");
  EXPECT_EQ(formatDateTime(d), u"04.12.26 20:53:57");
  EXPECT_EQ(formatDateTime(parseOleDate(u"01.01.09 00:00:00")), u"01.01.09 00:00:00");
  // A value a hair below the next second still shows that second.
  EXPECT_EQ(formatTime(d + 0.9999 / kSecondsPerDay), u"20:53:58");
  EXPECT_EQ(formatTime(parseOleDate(u"04.12.26 23:59:59")), u"23:59:59");
}

TEST(OleDateParse, TwoDigitYearWindow) {
  EXPECT_EQ(fromOleDate(parseOleDate(u"01.01.29 00:00:00")).date().year(), 2029);
  EXPECT_EQ(fromOleDate(parseOleDate(u"01.01.30 00:00:00")).date().year(), 1930);
  EXPECT_EQ(fromOleDate(parseOleDate(u"01.01.00 00:00:00")).date().year(), 2000);
  EXPECT_EQ(fromOleDate(parseOleDate(u"31.12.99 00:00:00")).date().year(), 1999);
}

TEST(OleDateParse, KnownDaysSinceEpoch) {
  // 04.12.2026 is day 46360 after 30.12.1899; 20:15 is 0.84375 of a day.
  EXPECT_DOUBLE_EQ(parseOleDate(u"04.12.26 20:15:00"), 46360.84375);
  EXPECT_DOUBLE_EQ(parseOleDate(u"31.12.99 00:00:00"), 36525.0);
}

TEST(OleDateParse, RejectsInvalidDatesAndTimes) {
  EXPECT_THROW(parseOleDate(u"31.02.26 10:00:00"), Failure);
  EXPECT_THROW(parseOleDate(u"04.12.26 25:00:00"), Failure);
  EXPECT_THROW(parseOleDate(u"04.12.26 10:60:00"), Failure);
  EXPECT_THROW(parseOleDate(u"04.13.26 10:00:00"), Failure);
  EXPECT_THROW(parseOleDate(u"XX.12.26 10:00:00"), Failure);
  EXPECT_THROW(parseOleDate(u""), Failure);
  EXPECT_THROW(parseOleDate(u"04.12.26"), Failure);
}

TEST(OleDateConversion, RoundTripsThroughQDateTime) {
  const QDateTime dt(QDate(2026, 12, 4), QTime(20, 53, 57, 250));
  EXPECT_EQ(fromOleDate(toOleDate(dt)), dt);
  EXPECT_EQ(fromOleDate(0).date(), QDate(1899, 12, 30));
}
