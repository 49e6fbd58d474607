// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/failure.h"
#include "tables/builtin_tables.h"
#include "tables/status_tables.h"
#include "telegrams/fms_identifier.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

class FmsIdentifierTest : public ::testing::Test {
protected:
  FmsIdentifierTest() {
    fillOrgCodes(tables,
                 [](const QString&, const QString&, const QString& fallback) { return fallback; });
  }
  QString decode(QString identifier) { return DecodeKennung(identifier, tables); }

  StatusTables tables;
};

TEST_F(FmsIdentifierTest, ResultTable) {
  const char* const cases[][2] = {
      {"64123456", "FW 12 34/56"},
      {"63123456", "FW 12/56"},
      {"9D123456", "BRK 12/56"},
      {"94123456", "DRK 12 34/56"},
      {"A1234567", "JUH 23 45/67"},
      {"6412345", "6412345"},
      // Only a capital D selects the short form; a lower-case BOS digit is fine.
      {"6d123456", "FW 12 34/56"},
      {"6D123456", "FW 12/56"},
      {"a3123456", "JUH 12/56"},
      // Other positions are copied as text.
      {"6xAB-CDE", "FW AB -C/DE"},
      {"63DRK4DR", "FW DR/DR"},
      // The length is tested on the stripped text.
      {"641234567", "641234567"},
      {"", ""}};
  for (const auto& [identifier, expected] : cases)
    EXPECT_EQ(decode(identifier), expected) << identifier;
  EXPECT_EQ(decode(QStringLiteral("641234567").replace(u'7', QChar(0))), "FW 12 34/56");
}

TEST_F(FmsIdentifierTest, DrkInTheOrganisationTextOnlyInTheShortForm) {
  tables.orgCode(2) = QStringLiteral("XDRKDRK");
  EXPECT_EQ(decode("23123456"), "XBRKBRK 12/56");
  EXPECT_EQ(decode("24123456"), "XDRKDRK 12 34/56");
}

TEST_F(FmsIdentifierTest, CallerGetsTheStrippedIdentifierEvenWhenTheBosDigitFails) {
  QString identifier = QStringLiteral("  6412") + QChar(0) + QStringLiteral("3456 ");
  EXPECT_EQ(DecodeKennung(identifier, tables), "FW 12 34/56");
  EXPECT_EQ(identifier, "64123456");
  identifier = QStringLiteral(" 64123 ");
  EXPECT_EQ(DecodeKennung(identifier, tables), "64123");
  EXPECT_EQ(identifier, "64123");
  identifier = QStringLiteral(" Z4123456");
  EXPECT_THROW(DecodeKennung(identifier, tables), Failure);
  EXPECT_EQ(identifier, "Z4123456");
  EXPECT_THROW(decode("G4123456"), Failure);
  EXPECT_NO_THROW(decode("Z412345")); // not 8 long: no digit is read
}

TEST(OrgIndex, ReadsTheFirstCharacterAsItStands) {
  const std::pair<const char16_t*, int> cases[] = {
      {u"0", 0}, {u"9xyz", 9}, {u"a", 10}, {u"F1234567", 15}, {u"f", 15}};
  for (const auto& [text, index] : cases)
    EXPECT_EQ(OrgIndex(text), index);
  // The last one is a digit, but not a hexadecimal one.
  for (const char16_t* bad : {u"", u" 6", u"g", u"\u0666"})
    EXPECT_THROW(OrgIndex(bad), Failure);
}

TEST(IsHexDigits, AcceptsOnlyHexDigits) {
  EXPECT_TRUE(IsHexDigits(u""));
  EXPECT_TRUE(IsHexDigits(u"0123456789abcdefABCDEF"));
  for (const QString& bad : {u"12G4"_qs, u"12 4"_qs, u"1g"_qs, QString(QChar(0))})
    EXPECT_FALSE(IsHexDigits(bad)) << bad.toStdString();
}

TEST(StripNul, TrimsSpacesThenRemovesNuls) {
  const QChar nul(0);
  EXPECT_EQ(StripNul(u""), "");
  EXPECT_EQ(StripNul(u"  a b  "), "a b");
  EXPECT_EQ(StripNul(QStringLiteral("a") + nul + nul + QStringLiteral("b") + nul), "ab");
  // The space before the trailing NULs is no longer at the end when trimming happens.
  EXPECT_EQ(StripNul(QStringLiteral("ab ") + nul + nul), "ab ");
  EXPECT_EQ(StripNul(QString(nul) + QStringLiteral(" ab")), " ab");
  EXPECT_EQ(StripNul(u"\tab\t"), "\tab\t");
}

} // namespace
} // namespace meldlux
