#include "app/status_tables.h"
#include "base/failure.h"
#include "telegrams/fms_identifier.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

class FmsIdentifierTest : public ::testing::Test {
protected:
  FmsIdentifierTest() {
    const char* codes[] = {"NN",  "POL", "BGS", "BKA", "KAT",  "ZOLL", "FW",  "THW",
                           "ASB", "DRK", "JUH", "MHD", "DLRG", "RD",   "ZVS", "FERNW"};
    for (int i = 0; i < 16; ++i)
      tables.orgCode(i) = QString::fromLatin1(codes[i]);
  }

  QString decode(QString identifier) { return DecodeKennung(identifier, tables); }

  StatusTables tables;
};

TEST_F(FmsIdentifierTest, ResultTable) {
  EXPECT_EQ(decode("64123456"), "FW 12 34/56");
  EXPECT_EQ(decode("63123456"), "FW 12/56");
  EXPECT_EQ(decode("9D123456"), "BRK 12/56");
  EXPECT_EQ(decode("94123456"), "DRK 12 34/56");
  EXPECT_EQ(decode("A1234567"), "JUH 23 45/67");
  EXPECT_EQ(decode("6412345"), "6412345");
}

TEST_F(FmsIdentifierTest, OnlyCapitalDSelectsTheShortForm) {
  EXPECT_EQ(decode("6d123456"), "FW 12 34/56");
  EXPECT_EQ(decode("6D123456"), "FW 12/56");
  EXPECT_EQ(decode("a3123456"), "JUH 12/56"); // lower-case BOS digit is fine
}

TEST_F(FmsIdentifierTest, OtherPositionsAreCopiedAsText) {
  EXPECT_EQ(decode("6xAB-CDE"), "FW AB -C/DE");
  EXPECT_EQ(decode("63DRK4DR"), "FW DR/DR");
}

TEST_F(FmsIdentifierTest, DrkInTheOrganisationTextOnlyInTheShortForm) {
  tables.orgCode(2) = QStringLiteral("XDRKDRK");
  EXPECT_EQ(decode("23123456"), "XBRKBRK 12/56");
  EXPECT_EQ(decode("24123456"), "XDRKDRK 12 34/56");
}

TEST_F(FmsIdentifierTest, CallerGetsTheStrippedIdentifier) {
  QString identifier = QStringLiteral("  6412") + QChar(0) + QStringLiteral("3456 ");
  EXPECT_EQ(DecodeKennung(identifier, tables), "FW 12 34/56");
  EXPECT_EQ(identifier, "64123456");

  identifier = QStringLiteral(" 64123 ");
  EXPECT_EQ(DecodeKennung(identifier, tables), "64123");
  EXPECT_EQ(identifier, "64123");
}

TEST_F(FmsIdentifierTest, LengthIsTestedOnTheStrippedText) {
  EXPECT_EQ(decode("641234567"), "641234567");
  EXPECT_EQ(decode(QStringLiteral("641234567").replace(u'7', QChar(0))), "FW 12 34/56");
  EXPECT_EQ(decode(""), "");
}

TEST_F(FmsIdentifierTest, NonHexBosDigitFails) {
  EXPECT_THROW(decode("G4123456"), Failure);
  EXPECT_THROW(decode(" x4123456"), Failure);
  QString identifier = QStringLiteral(" Z4123456");
  EXPECT_THROW(DecodeKennung(identifier, tables), Failure);
  EXPECT_EQ(identifier, "Z4123456");  // stripped before the failure
  EXPECT_NO_THROW(decode("Z412345")); // not 8 long: no digit is read
}

TEST(OrgIndex, ReadsTheFirstCharacterAsItStands) {
  EXPECT_EQ(OrgIndex(u"0"), 0);
  EXPECT_EQ(OrgIndex(u"9xyz"), 9);
  EXPECT_EQ(OrgIndex(u"a"), 10);
  EXPECT_EQ(OrgIndex(u"F1234567"), 15);
  EXPECT_EQ(OrgIndex(u"f"), 15);
  EXPECT_THROW(OrgIndex(u""), Failure);
  EXPECT_THROW(OrgIndex(u" 6"), Failure);
  EXPECT_THROW(OrgIndex(u"g"), Failure);
  EXPECT_THROW(OrgIndex(u"\u0666"), Failure); // a digit, but not a hexadecimal one
}

TEST(IsHexDigits, AcceptsOnlyHexDigits) {
  EXPECT_TRUE(IsHexDigits(u""));
  EXPECT_TRUE(IsHexDigits(u"0123456789abcdefABCDEF"));
  EXPECT_FALSE(IsHexDigits(u"12G4"));
  EXPECT_FALSE(IsHexDigits(u"12 4"));
  EXPECT_FALSE(IsHexDigits(u"1g"));
  EXPECT_FALSE(IsHexDigits(QString(QChar(0))));
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
