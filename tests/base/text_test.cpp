// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/cp1252.h"
#include "base/failure.h"
#include "base/fixed_text.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "base/ole_date.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace meldlux;

TEST(LeadingNumber, ReadsTheNumberAtTheStartOrZero) {
  // Only blanks, tabs and line feeds are skipped ("\r5" is no number).
  // clang-format off
  const std::pair<QString, double> cases[] = {
      {"  12abc", 12}, {"1e3", 1000}, {"-.5", -0.5}, {"+7x", 7}, {"12,5", 12}, {"12.5", 12.5},
      {"\t\n 42", 42}, {"2.5E-1", 0.25}, {"5.", 5}, {"abc", 0}, {"", 0}, {"-", 0}, {".", 0},
      {"\r5", 0}, {"3e", 3}, {"3e+", 3}, {"3E+2x", 300}, {"1e-999", 0},
      {QString(500, u'0') + "7", 7}};
  // clang-format on
  for (const auto& [text, value] : cases)
    EXPECT_EQ(leadingNumber(text), value) << text.toStdString();
  EXPECT_TRUE(std::isinf(leadingNumber(u"1e999")));
}

TEST(LeadingNumber, AFieldOfTheWireSkipsOnlySpaces) {
  // clang-format off
  const std::pair<QString, double> cases[] = {
      {"  12abc", 12}, {" -4.5", -4.5}, {"\t3", 0}, {"\n19", 0}, {" \t3", 0}, {"18", 18},
      {"", 0}, {"1e2", 100}};
  // clang-format on
  for (const auto& [text, value] : cases)
    EXPECT_EQ(leadingNumberAfterSpaces(text), value) << text.toStdString();
}

TEST(TrimSpaces, RemovesOnlySpaces) {
  EXPECT_EQ(trimSpaces(u"  a b  "), u"a b");
  EXPECT_EQ(trimSpaces(u"\t a \t"), u"\t a \t");
  EXPECT_EQ(trimSpaces(u"   "), u"");
  EXPECT_EQ(trimSpaces(QStringView(u"\0 x", 3)), QStringView(u"\0 x", 3).toString());
}

TEST(Rounding, HalvesGoToEvenAndValuesThatDoNotFitThrow) {
  // clang-format off
  const std::pair<double, int> to16[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {32767.4, 32767},
                                         {-32768, -32768}};
  const std::pair<double, int> to32[] = {{0.5, 0}, {1.5, 2}, {2.4999, 2},
                                         {2147483647.0, 2147483647}};
  // clang-format on
  for (const auto& [value, rounded] : to16)
    EXPECT_EQ(roundToInt16(value), rounded) << value;
  for (const auto& [value, rounded] : to32)
    EXPECT_EQ(roundToInt32(value), rounded) << value;
  for (double value : {32768.0, 32767.5 /* rounds to 32768 */, -32769.0})
    EXPECT_THROW(roundToInt16(value), Failure) << value;
  for (double value : {2147483648.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()})
    EXPECT_THROW(roundToInt32(value), Failure) << value;
}

TEST(Formats, TwoDigitsRightAlignedAndDecimal) {
  EXPECT_EQ(formatTwoDigits(7) + formatTwoDigits(0) + formatTwoDigits(100), u"0700100");
  EXPECT_EQ(formatRightAligned2(5) + "|" + formatRightAligned2(12) + "|" +
                formatRightAligned2(123) + "|" + formatRightAligned2(-1),
            u" 5|12|123|-1");
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

TEST(OleDate, ParsesWithATwoDigitYearWindowAndRejectsInvalidDates) {
  const std::pair<const char16_t*, int> years[] = {
      {u"01.01.29", 2029}, {u"01.01.30", 1930}, {u"01.01.00", 2000}, {u"31.12.99", 1999}};
  for (auto [text, year] : years)
    EXPECT_EQ(fromOleDate(parseOleDate(QString::fromUtf16(text) + " 00:00:00")).date().year(),
              year);
  // 04.12.2026 is day 46360 after 30.12.1899; 20:15 is 0.84375 of a day.
  EXPECT_DOUBLE_EQ(parseOleDate(u"04.12.26 20:15:00"), 46360.84375);
  EXPECT_DOUBLE_EQ(parseOleDate(u"31.12.99 00:00:00"), 36525.0);
  for (const char16_t* bad : {u"31.02.26 10:00:00", u"04.12.26 25:00:00", u"04.12.26 10:60:00",
                              u"04.13.26 10:00:00", u"XX.12.26 10:00:00", u"", u"04.12.26"})
    EXPECT_THROW(parseOleDate(bad), Failure) << QString::fromUtf16(bad).toStdString();
  const QDateTime dt(QDate(2026, 12, 4), QTime(20, 53, 57, 250));
  EXPECT_EQ(fromOleDate(toOleDate(dt)), dt);
  EXPECT_EQ(fromOleDate(0).date(), QDate(1899, 12, 30));
}

TEST(Cp1252, EveryByteRoundTripsAndTheWindowsRangeMaps) {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    all.append(char(b));
  ASSERT_EQ(cp1252::decode(all).size(), 256);
  EXPECT_EQ(cp1252::encode(cp1252::decode(all)), all);
  EXPECT_EQ(cp1252::decode("\x80\x81\x8D\x8F\x90\x9D"),
            QString::fromUtf16(u"\u20AC\u0081\u008D\u008F\u0090\u009D"));
  EXPECT_EQ(cp1252::decode("Einr\xFC"
                           "cken \xC4\xD6\xDC\xDF"),
            QString::fromUtf8("Einrücken ÄÖÜß"));
  EXPECT_EQ(cp1252::encode(QString::fromUtf8("Stra\u00DFe \u20AC")), QByteArray("Stra\xDF"
                                                                                "e \x80"));
  // Unrepresentable characters become question marks.
  EXPECT_EQ(cp1252::encode(QString::fromUtf8("a\u4E2Db\u0100")), QByteArray("a?b?"));
}

TEST(FixedText, NeverStoredHoldsNulsStoringPadsOrCuts) {
  FixedText<8> field;
  EXPECT_EQ(field.text(), QString(8, QChar(0)));
  EXPECT_FALSE(field.equals(u""));
  EXPECT_FALSE(FixedText<8>() == FixedText<8>(u""));
  for (auto [stored, text] :
       {std::pair{u"ABC", u"ABC     "}, {u"123456789", u"12345678"}, {u"", u"        "}}) {
    field.store(stored);
    EXPECT_EQ(field.text(), text);
  }
}

TEST(FixedText, ComparesAllCharacters) {
  FixedText<8> field(u"6123ABCD");
  EXPECT_TRUE(field.equals(u"6123ABCD"));
  EXPECT_FALSE(field.equals(u"6123abcd"));
  EXPECT_FALSE(field.equals(u"6123ABC"));
  FixedText<8> shortOne(u"6123ABC");
  EXPECT_FALSE(shortOne.equals(u"6123ABC")); // padded with a blank
  EXPECT_TRUE(shortOne.equals(u"6123ABC "));
}
