// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata_fixture.h"

#include "base/failure.h"
#include "refdata/place_table.h"
#include "refdata/user_lists_loader.h"
#include "state/options.h"
#include "telegrams/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

using namespace meldlux;

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// The quicksort written out literally, recursion and all, as the yardstick for the table's own.
void referenceSort(Rows& r, int low, int high) {
  int i = low;
  int j = high;
  const QString pivot = r[std::size_t((low + high) / 2)].first;
  do {
    while (r[std::size_t(i)].first < pivot)
      ++i;
    while (pivot < r[std::size_t(j)].first)
      --j;
    if (i > j)
      break;
    std::swap(r[std::size_t(i)], r[std::size_t(j)]);
    ++i;
    --j;
  } while (i <= j);
  if (low < j)
    referenceSort(r, low, j);
  if (i < high)
    referenceSort(r, i, high);
}

// Sorts a copy of the rows with the table and with the reference; both must agree row by row.
void expectSortedLikeTheReference(Rows rows) {
  PlaceTable table;
  for (std::size_t k = 0; k < rows.size(); ++k)
    table.setRow(int(k), rows[k].first, rows[k].second);
  const int high = int(rows.size()) - 1;
  table.SortPlaces(0, high);
  referenceSort(rows, 0, high);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    ASSERT_EQ(table.row(int(k)).key, rows[k].first) << "row " << k;
    ASSERT_EQ(table.row(int(k)).value, rows[k].second) << "row " << k;
  }
}

QString key(int n) { return QStringLiteral("&TRN%1E00000000").arg(n, 8, 16, QLatin1Char('0')); }

} // namespace

TEST(SortPlaces, EqualKeysEndInTheOrderOfTheWrittenQuicksort) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    Rows rows;
    const int size = 2 + int(random() % 3000);
    for (int k = 0; k < size; ++k)
      rows.emplace_back(key(int(random() % 25)), QString::number(k));
    expectSortedLikeTheReference(rows);
  }
  // A full table of identical, sorted or reversed keys neither overflows nor reorders.
  for (int kind = 0; kind < 3; ++kind) {
    Rows rows;
    for (int k = 0; k < 9500; ++k)
      rows.emplace_back(key(kind == 0 ? 5 : kind == 1 ? k : 9500 - k), QString::number(k));
    expectSortedLikeTheReference(rows);
  }
}

TEST(SortPlaces, SortsByCharacterCodeCaseSensitively) {
  PlaceTable table;
  const QStringList keys = {u"b"_qs, u"B"_qs, u"a"_qs, u"Ä"_qs, u"A"_qs, u"_"_qs};
  for (int k = 0; k < keys.size(); ++k)
    table.setRow(k, keys[k], QString());
  table.SortPlaces(0, int(keys.size()) - 1);
  QStringList sorted;
  for (int k = 0; k < keys.size(); ++k)
    sorted << table.row(k).key;
  EXPECT_EQ(sorted, (QStringList{u"A"_qs, u"B"_qs, u"_"_qs, u"a"_qs, u"b"_qs, u"Ä"_qs}));
}

TEST(SortPlaces, RowsOutsideTheTableAreAFailure) {
  PlaceTable table;
  EXPECT_THROW(table.SortPlaces(0, PlaceTable::kRows), Failure);
  EXPECT_THROW(table.SortPlaces(-1, 3), Failure);
  EXPECT_THROW(table.row(9501), Failure);
}

TEST(LookupPlace, FirstMatchingRowWinsAndTheFirstEmptyKeyEndsTheScan) {
  PlaceTable table;
  table.setRow(0, key(1), u"Erstes"_qs);
  table.setRow(1, key(1), u"Zweites"_qs);
  table.setRow(2, key(2), u"Mitte"_qs);
  table.setRow(4, key(3), u"Hinter der Lücke"_qs);
  EXPECT_EQ(table.LookupPlace(key(1)), u"Erstes"_qs);
  EXPECT_EQ(table.LookupPlace(key(2)), u"Mitte"_qs);
  EXPECT_EQ(table.LookupPlace(key(3)), QString());
  EXPECT_EQ(table.LookupPlace(key(1).toLower()), QString());

  // Filling the gap makes the row behind it reachable again.
  table.setRow(3, key(9), u"Lücke"_qs);
  EXPECT_EQ(table.LookupPlace(key(3)), u"Hinter der Lücke"_qs);
  // Row 9500 is searched too.
  PlaceTable full;
  for (int k = 0; k <= 9500; ++k)
    full.setRow(k, key(k), QString::number(k));
  EXPECT_EQ(full.LookupPlace(key(9500)), u"9500"_qs);
}

namespace {

class LoadPlacesTest : public meldlux::testing::RefdataFixture {
protected:
  QString write(const QByteArray& bytes) {
    RefdataFixture::write(u"Orte.txt"_qs, bytes);
    return dir.filePath(u"Orte.txt"_qs);
  }
  std::int16_t load(const QString& path) {
    UserListsLoader loader(options, [this](const QString& text) { notices << text; });
    return loader.LoadPlaces(table, path);
  }

  PlaceTable table;
};

} // namespace

TEST_F(LoadPlacesTest, TakesOnlyLinesOfTheKeyLayoutAndSortsThem) {
  const QByteArray file = "&TRN00000002E00000000;Zweiter Ort\r\n"
                          "*&TRN00000001E00000000;Erster Ort\r\n"
                          "XTRN00000003E00000000;ohne &TRN\r\n"
                          "&TRN0000;004E00000000;Semikolon im Schl\xfc"
                          "ssel\r\n"
                          "&TRN00000005E0000000;zu kurz\r\n"
                          "**&TRN00000006E00000000;zwei Sterne\r\n"
                          "&TRN00000007E00000000;\r\n"
                          "&TRN00000008E00000000;M\xfc"
                          "nchen; Ost \r\n";
  EXPECT_EQ(load(write(file)), 4);
  EXPECT_EQ(table.PlaceCount, 4);
  const std::pair<QString, QString> rows[] = {{key(1), u"Erster Ort"_qs},
                                              {key(2), u"Zweiter Ort"_qs},
                                              {key(7), QString()},
                                              {key(8), u"München; Ost "_qs},
                                              {QString(), QString()}};
  for (int k = 0; k < 5; ++k)
    EXPECT_EQ(std::pair(table.row(k).key, table.row(k).value), rows[k]) << k;
  EXPECT_EQ(notices, QStringList{u"4 Orte geladen."_qs});
}

TEST_F(LoadPlacesTest, LinesEndAtCrLfOrALoneCrButNotAtALoneLf) {
  const QByteArray file = "&TRN00000001E00000000;Eins\r"
                          "&TRN00000002E00000000;Zwei\nnoch Zwei\r\n"
                          "&TRN00000003E00000000;Drei";
  EXPECT_EQ(load(write(file)), 3);
  EXPECT_EQ(table.LookupPlace(key(1)), u"Eins"_qs);
  EXPECT_EQ(table.LookupPlace(key(2)), u"Zwei\nnoch Zwei"_qs);
  EXPECT_EQ(table.LookupPlace(key(3)), u"Drei"_qs);
}

TEST_F(LoadPlacesTest, TwelveThousandLinesCountAs9500AndOverwriteTheLastRow) {
  QByteArray file;
  for (int k = 12000; k > 0; --k)
    file += key(k).toLatin1() + ";Ort " + QByteArray::number(k) + "\r\n";
  EXPECT_EQ(load(write(file)), 9500);
  EXPECT_EQ(notices, QStringList{u"9500 Orte geladen."_qs});
  // Rows 0..9499 hold the first 9500 lines, sorted; row 9500 the very last line, unsorted.
  EXPECT_EQ(table.row(0).key, key(2501));
  EXPECT_EQ(table.row(9499).key, key(12000));
  EXPECT_EQ(table.row(9500).key, key(1));
  EXPECT_EQ(table.LookupPlace(key(1)), u"Ort 1"_qs);
  EXPECT_EQ(table.LookupPlace(key(2)), QString()); // overwritten by later lines
}

TEST_F(LoadPlacesTest, NoPlacesMissingFileAndQuietPopup) {
  EXPECT_EQ(load(write("Kommentar\r\n;\r\n")), 0);
  EXPECT_EQ(notices, QStringList{u"0 Orte geladen."_qs});

  notices.clear();
  table.setRow(0, key(1), u"alt"_qs);
  EXPECT_EQ(load(dir.filePath(u"fehlt.txt"_qs)), 0);
  EXPECT_TRUE(notices.isEmpty());
  EXPECT_EQ(table.row(0).key, QString()); // the table is emptied even so

  options.setChecked(Check::chkMsgAktiv, false);
  EXPECT_EQ(load(write(key(1).toLatin1() + ";A")), 1);
  EXPECT_TRUE(notices.isEmpty());
}
