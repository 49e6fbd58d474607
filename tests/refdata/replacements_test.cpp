// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata_fixture.h"

#include "base/failure.h"
#include "refdata/list_file.h"
#include "refdata/replacements.h"
#include "refdata/user_lists_loader.h"
#include "state/options.h"
#include "telegrams/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace meldlux;

namespace {

class LoadReplacementsTest : public meldlux::testing::RefdataFixture {
protected:
  std::int16_t load(const QByteArray& bytes) {
    write(u"Ersetzen.txt"_qs, bytes);
    return loadFrom(dir.filePath(u"Ersetzen.txt"_qs));
  }
  std::int16_t loadFrom(const QString& path) {
    // The notice passes through the pairs just loaded, as AddMessage would pass it.
    UserListsLoader loader(
        options, [this](const QString& text) { notices << ApplyReplacements(table, text); });
    return loader.LoadReplacements(table, path);
  }

  ReplacementTable table;
};

} // namespace

TEST_F(LoadReplacementsTest, FirstLineIsTheSeparatorAndEachPairSplitsAtItsFirstOccurrence) {
  EXPECT_EQ(load("=\r\nFW=Feuerwehr\r\n=ohne Suchtext\r\nkein Trenner\r\nRTW=\r\nq=b=c\r\n"), 3);
  EXPECT_EQ(table.ReplacementCount, 3);
  EXPECT_EQ(table.rows[1].find, u"RTW"_qs);
  EXPECT_EQ(table.rows[1].replacement, QString());
  EXPECT_EQ(ApplyReplacements(table, u"FW 1 RTW q"_qs), u"Feuerwehr 1  b=c"_qs);
  EXPECT_EQ(notices, QStringList{u"3 Ersetzungen geladen."_qs});
  // A longer separator, and pairs that change the notice itself.
  notices.clear();
  EXPECT_EQ(load(" -> \r\nErsetzungen -> Paare\r\ngeladen ->  da\r\n"), 2);
  EXPECT_EQ(notices, QStringList{u"2 Paare  da."_qs});
  // Occurrences of a separator may overlap: the first one, at any position, splits.
  EXPECT_EQ(load("==\r\na===b\r\n"), 1);
  EXPECT_EQ(table.rows[0].find, u"a"_qs);
  EXPECT_EQ(table.rows[0].replacement, u"=b"_qs);
}

TEST_F(LoadReplacementsTest, EmptyFirstLineEmptyFileOrMissingFile) {
  EXPECT_EQ(load("\r\nFW=Feuerwehr\r\n=x\r\n"), 0);
  EXPECT_EQ(table.ReplacementCount, 0);
  EXPECT_EQ(ApplyReplacements(table, u"FW"_qs), u"FW"_qs);
  EXPECT_EQ(load(""), 0);
  EXPECT_EQ(notices, QStringList(2, u"0 Ersetzungen geladen."_qs));
  EXPECT_EQ(loadFrom(dir.filePath(u"fehlt.txt"_qs)), 0);
  EXPECT_EQ(notices.size(), 2); // no notice without a file
}

TEST_F(LoadReplacementsTest, MoreThan500PairsOverwriteRow500WhichIsNeverApplied) {
  QByteArray file = "=\r\n";
  for (int k = 0; k < 600; ++k)
    file += "x" + QByteArray::number(k) + "y=" + QByteArray::number(k) + "\r\n";
  EXPECT_EQ(load(file), 500);
  EXPECT_EQ(table.rows[500].find, u"x599y"_qs);
  EXPECT_EQ(ApplyReplacements(table, u"x499y x500y x599y"_qs), u"499 x500y x599y"_qs);
  EXPECT_EQ(notices, QStringList{u"500 Ersetzungen geladen."_qs});
}

TEST(ApplyReplacements, PairsActInTableOrderInOneScanWithoutRescanningInsertedText) {
  ReplacementTable table;
  table.rows[0] = {u"A"_qs, u"B"_qs};
  table.rows[1] = {u"B"_qs, u"C"_qs};
  table.ReplacementCount = 2;
  EXPECT_EQ(ApplyReplacements(table, u"ABa"_qs), u"CCa"_qs);
  // Reversed order: the B made from A is not turned into C any more.
  std::swap(table.rows[0], table.rows[1]);
  EXPECT_EQ(ApplyReplacements(table, u"ABa"_qs), u"BCa"_qs);
  table.ReplacementCount = 0;
  EXPECT_EQ(ApplyReplacements(table, u"ABa"_qs), u"ABa"_qs);
  table.rows[0] = {u"aa"_qs, u"a"_qs};
  table.rows[1] = {u"x"_qs, u"xx"_qs};
  table.ReplacementCount = 2;
  EXPECT_EQ(ApplyReplacements(table, u"aaaaa x"_qs), u"aaa xx"_qs);
  // A find text edited in place after a use counts from then on.
  table.rows[1].find[0] = u'q';
  EXPECT_EQ(ApplyReplacements(table, u"aaaaa q"_qs), u"aaa xx"_qs);
}

TEST(ApplyReplacements, GrowingPairsAreBoundedAndTheNextTextIsFine) {
  ReplacementTable table;
  for (int k = 0; k < 500; ++k)
    table.rows[std::size_t(k)] = {u"A"_qs, u"AA"_qs};
  table.ReplacementCount = 500;
  // Ten doublings stay well inside the limit; five hundred would not.
  ReplacementTable ten = table;
  ten.ReplacementCount = 10;
  EXPECT_EQ(ApplyReplacements(ten, u"A"_qs).size(), 1024);
  // Past the limit the text is cut there, not dropped: its line must still show.
  EXPECT_EQ(ApplyReplacements(table, u"xA"_qs),
            u"x"_qs + QString(u"A"_qs).repeated(kMaxReplacedLength - 1));
  EXPECT_EQ(ApplyReplacements(table, u"frei von dem Buchstaben"_qs), u"frei von dem Buchstaben"_qs);
  // A long received text may keep its length while a pair shortens it.
  ReplacementTable shrink;
  shrink.rows[0] = {u"ab"_qs, u"c"_qs};
  shrink.ReplacementCount = 1;
  const QString longText = QString(u"ab"_qs).repeated(50000);
  EXPECT_EQ(ApplyReplacements(shrink, longText), QString(u"c"_qs).repeated(50000));
}

TEST(ApplyReplacements, SameResultAsPlainReplacementOnRandomPairs) {
  // Characters that share their low byte (A, U+0141, U+0241) exercise the skipping of pairs that
  // cannot match.
  const QString alphabet = u"AB\u0141\u0241 ab"_qs;
  std::mt19937 random(3);
  auto word = [&](int maxLength) {
    QString w;
    const int length = 1 + int(random() % unsigned(maxLength));
    for (int k = 0; k < length; ++k)
      w += alphabet[qsizetype(random() % unsigned(alphabet.size()))];
    return w;
  };
  for (int round = 0; round < 300; ++round) {
    ReplacementTable table;
    const int count = 1 + int(random() % 40);
    for (int k = 0; k < count; ++k)
      table.rows[std::size_t(k)] = {word(3), random() % 4 ? word(3) : QString()};
    table.ReplacementCount = std::int16_t(count);
    const QString text = word(40);
    QString expected = text;
    for (int k = 0; k < count; ++k)
      expected.replace(table.rows[std::size_t(k)].find, table.rows[std::size_t(k)].replacement);
    ASSERT_EQ(ApplyReplacements(table, text), expected) << "round " << round;
  }
}

TEST(ListFile, FindsNamesWithoutRegardToCaseAndReadsWindows1252) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir(u"Settings"_qs);
  QFile file(dir.filePath(u"Settings/ORTE.TXT"_qs));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Stra\xdf"
             "e \x80\r\n");
  file.close();
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  QStringList lines;
  const auto collect = [&lines](QString& line) { lines << line; };
  const bool found = ListFile::forEachLine(u"settings\\Orte.txt"_qs, collect);
  const bool missing = ListFile::forEachLine(u"Settings\\Ersetzen.txt"_qs, collect);
  const bool folder = ListFile::forEachLine(u"settings"_qs, collect);
  QDir::setCurrent(previous);
  EXPECT_TRUE(found);
  EXPECT_EQ(lines, QStringList{u"Straße €"_qs});
  EXPECT_FALSE(missing);
  EXPECT_FALSE(folder);
}
