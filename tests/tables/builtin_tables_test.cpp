// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/failure.h"
#include "tables/builtin_tables.h"
#include "tables/status_tables.h"

#include <QMap>
#include <gtest/gtest.h>
#include <tuple>

namespace meldlux {
namespace {

class BuiltinTablesTest : public ::testing::Test {
protected:
  // The first server product's keys as "section/key" -> stored text; absent keys give the
  // default, and every read is noted in order.
  ZentrixReader reader() {
    return [this](const QString& section, const QString& key, const QString& fallback) {
      reads << section + u'/' + key;
      return keys.value(section + u'/' + key, fallback);
    };
  }
  void fillAll(const QString& fme = QStringLiteral("255"),
               const QString& dme = QStringLiteral("255")) {
    fillStatusColours(tables, reader(), fme, dme);
    fillStatusTexts(tables);
    fillOrgCodes(tables, reader());
  }

  StatusTables tables;
  QMap<QString, QString> keys;
  QStringList reads;
};

TEST_F(BuiltinTablesTest, DefaultColoursAndKeysReadInOrder) {
  fillAll();
  const Colour expected[19] = {16777215, 65280,   36864,    65535,    255,      65535,    8421504,
                               33023,    8388863, 16711680, 16777215, 16777215, 16777215, 16777215,
                               16777215, 8454143, 255,      255,      16777215};
  for (int i = 0; i < 19; ++i)
    EXPECT_EQ(tables.colour(i), expected[i]) << i;
  ASSERT_EQ(reads.size(), 32);
  EXPECT_EQ(reads.front(), "Statusfarben/0");
  EXPECT_EQ(reads[15], "Statusfarben/15");
  EXPECT_EQ(reads[16], "BOS-Kennung/0");
  EXPECT_EQ(reads.back(), "BOS-Kennung/15");
}

TEST_F(BuiltinTablesTest, ColourKeysOverrideTheDefaults) {
  keys["Statusfarben/3"] = "255";
  keys["Statusfarben/15"] = "  4711abc";
  keys["Statusfarben/7"] = "grün";
  keys["Statusfarben/8"] = "2.5";
  keys["Statusfarben/18"] = "0"; // not a key the program reads
  fillAll(QStringLiteral("65280xyz"), QStringLiteral("x"));
  const std::pair<int, Colour> cases[] = {{3, 255},    {15, 4711}, {7, 0},         {8, 2},
                                          {16, 65280}, {17, 0},    {18, 16777215}, {4, 255}};
  for (const auto& [status, colour] : cases)
    EXPECT_EQ(tables.colour(status), colour) << status;
  // A colour that does not fit fails.
  keys["Statusfarben/2"] = "1e20";
  EXPECT_THROW(fillStatusColours(tables, reader(), "255", "255"), Failure);
  keys.clear();
  EXPECT_THROW(fillStatusColours(tables, reader(), "255", "-3000000000"), Failure);
}

TEST_F(BuiltinTablesTest, StatusTextsAreTheSameForEveryOrganisationAndReplaceWhatWasThere) {
  tables.text(12, 5, 1) = QStringLiteral("alt");
  tables.text(1, 5, 0) = QStringLiteral("alt");
  fillAll();
  // Status, direction (0 from the vehicle, 1 to it), text.
  const std::tuple<int, int, const char*> texts[] = {
      {1, 0, "Frei auf Funk"}, {3, 0, "Einsatz Übernommen"},    {0, 0, "NOTRUF"},
      {0, 1, "Statusabfrage"}, {2, 1, "E - Einrücken"},         {4, 1, "F - Über Telefon Melden"},
      {9, 0, "Handquittung"},  {9, 1, "U - Ungültiger Status"}, {15, 0, "Quittung"},
      {15, 1, "Quittung"}};
  for (int org = 0; org < 16; ++org) {
    SCOPED_TRACE(org);
    for (const auto& [status, direction, text] : texts)
      EXPECT_EQ(tables.text(status, org, direction), text) << status << "/" << direction;
    for (int status : {10, 11, 12, 13, 14, 16, 17, 18})
      EXPECT_TRUE(tables.text(status, org, 0).isEmpty() && tables.text(status, org, 1).isEmpty())
          << status;
  }
}

TEST_F(BuiltinTablesTest, OrganisationCodesDefaultAndStored) {
  keys["BOS-Kennung/9"] = "  BRK  Bayern ";
  keys["BOS-Kennung/15"] = "";
  fillAll();
  EXPECT_EQ(tables.orgCode(6), "FW");
  EXPECT_EQ(tables.orgCode(0), "NN");
  EXPECT_EQ(tables.orgCode(12), "DLRG");
  EXPECT_EQ(tables.orgCode(9), "  BRK  Bayern "); // as stored, untrimmed
  EXPECT_EQ(tables.orgCode(15), "");              // present but empty is not absent
}

} // namespace
} // namespace meldlux
