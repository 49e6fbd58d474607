#include "base/failure.h"
#include "base/numbers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace meldlux;

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
  EXPECT_EQ(leadingNumber(u"  12abc"), 12);
  EXPECT_EQ(leadingNumber(u"1e3"), 1000);
  EXPECT_EQ(leadingNumber(u"-.5"), -0.5);
  EXPECT_EQ(leadingNumber(u"+7x"), 7);
  EXPECT_EQ(leadingNumber(u"12,5"), 12);
  EXPECT_EQ(leadingNumber(u"12.5"), 12.5);
  EXPECT_EQ(leadingNumber(u"\t\n 42"), 42);
  EXPECT_EQ(leadingNumber(u"2.5E-1"), 0.25);
  EXPECT_EQ(leadingNumber(u"5."), 5);
}

TEST(LeadingNumber, IsZeroWithoutANumber) {
  EXPECT_EQ(leadingNumber(u"abc"), 0);
  EXPECT_EQ(leadingNumber(u""), 0);
  EXPECT_EQ(leadingNumber(u"-"), 0);
  EXPECT_EQ(leadingNumber(u"."), 0);
  EXPECT_EQ(leadingNumber(u"\r5"), 0); // only blanks, tabs and line feeds are skipped
}

TEST(LeadingNumber, ExponentNeedsDigits) {
  EXPECT_EQ(leadingNumber(u"3e"), 3);
  EXPECT_EQ(leadingNumber(u"3e+"), 3);
  EXPECT_EQ(leadingNumber(u"3E+2x"), 300);
}

TEST(LeadingNumber, OverflowAndLongDigitRuns) {
  EXPECT_TRUE(std::isinf(leadingNumber(u"1e999")));
  EXPECT_EQ(leadingNumber(u"1e-999"), 0);
  EXPECT_EQ(leadingNumber(QString(500, QChar(u'0')) + QStringLiteral("7")), 7);
}

TEST(TrimSpaces, RemovesOnlySpaces) {
  EXPECT_EQ(trimSpaces(u"  a b  "), u"a b");
  EXPECT_EQ(trimSpaces(u"\t a \t"), u"\t a \t");
  EXPECT_EQ(trimSpaces(u"   "), u"");
  EXPECT_EQ(trimSpaces(QStringView(u"\0 x", 3)), QStringView(u"\0 x", 3).toString());
}

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(roundToInt16(2.5), 2);
  EXPECT_EQ(roundToInt16(3.5), 4);
  EXPECT_EQ(roundToInt16(-2.5), -2);
  EXPECT_EQ(roundToInt32(0.5), 0);
  EXPECT_EQ(roundToInt32(1.5), 2);
  EXPECT_EQ(roundToInt32(2.4999), 2);
}

TEST(Rounding, ValuesThatDoNotFitThrow) {
  EXPECT_EQ(roundToInt16(32767.4), 32767);
  EXPECT_EQ(roundToInt16(-32768), -32768);
  EXPECT_THROW(roundToInt16(32768), Failure);
  EXPECT_THROW(roundToInt16(32767.5), Failure); // rounds to 32768
  EXPECT_THROW(roundToInt16(-32769), Failure);
  EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
  EXPECT_THROW(roundToInt32(2147483648.0), Failure);
  EXPECT_THROW(roundToInt32(std::numeric_limits<double>::quiet_NaN()), Failure);
  EXPECT_THROW(roundToInt32(std::numeric_limits<double>::infinity()), Failure);
}
