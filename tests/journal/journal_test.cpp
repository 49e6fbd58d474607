// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/journal_fixture.h"

#include "journal/journal_connection.h"
#include "journal/journal_reader.h"
#include "journal/journal_schema.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace meldlux {
namespace {

using testing::entryOfEachKind;
using testing::JournalRig;

std::vector<JournalEntry> without_ids(std::vector<JournalEntry> rows) {
  for (JournalEntry& e : rows)
    e.id = 0;
  return rows;
}

TEST(Journal, EveryKindComesBackAsItWasWritten) {
  JournalRig rig;
  const auto written = entryOfEachKind(rig.clock.now());
  for (const JournalEntry& e : written)
    rig.writer->record(e);
  JournalRig::endBlock();
  ASSERT_EQ(rig.writer->waiting(), 0u) << rig.writer->failure().toStdString();

  JournalReader reader(rig.path());
  auto rows = without_ids(reader.page({}, 100));
  std::reverse(rows.begin(), rows.end()); // newest first
  ASSERT_EQ(rows.size(), written.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(rows[i], written[i]) << journalKindName(written[i].kind).toStdString();
  EXPECT_TRUE(rig.notices.isEmpty());
}

TEST(Journal, OneBlockIsOneTransaction) {
  JournalRig rig;
  JournalReader reader(rig.path());
  for (const JournalEntry& e : entryOfEachKind(rig.clock.now()))
    rig.writer->record(e);
  // Nothing is written while the block is still being handled...
  EXPECT_EQ(reader.count({}), 0);
  JournalRig::endBlock();
  // ...and all of it once the loop is back.
  EXPECT_EQ(reader.count({}), 5);
}

TEST(Journal, FilterByKindTextAndTime) {
  JournalRig rig;
  const OleDate t0 = rig.clock.now();
  for (int hour = 0; hour < 3; ++hour)
    for (const JournalEntry& e : entryOfEachKind(t0 + hour / 24.0))
      rig.writer->record(e);
  JournalRig::endBlock();
  JournalReader reader(rig.path());

  struct Case {
    const char* name;
    JournalFilter filter;
    std::int64_t rows;
  };
  const Case cases[] = {
      {"all", {}, 15},
      {"one kind", {{JournalKind::Zvei}, {}, 0, 0}, 3},
      {"two kinds", {{JournalKind::Pocsag, JournalKind::Text}, {}, 0, 0}, 6},
      {"name, case ignored", {{}, QStringLiteral("hlf nord"), 0, 0}, 6},
      {"identifier", {{}, QStringLiteral("[D]"), 0, 0}, 3},
      {"message", {{}, QStringLiteral("weg frei"), 0, 0}, 3},
      {"percent is plain", {{}, QStringLiteral("%"), 0, 0}, 0},
      {"umlaut", {{}, QStringLiteral("SÜD"), 0, 0}, 3},
      {"from the second hour", {{}, {}, t0 + 0.5 / 24, 0}, 10},
      {"first hour only", {{}, {}, t0, t0 + 0.5 / 24}, 5},
      {"kind and text and time",
       {{JournalKind::FmsControl}, QStringLiteral("nord"), t0 + 1.5 / 24, 0},
       1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(reader.count(c.filter), c.rows) << c.name;
    std::int64_t seen = 0;
    reader.forEach(c.filter, [&](const JournalEntry&) { return ++seen, true; });
    EXPECT_EQ(seen, c.rows) << c.name;
  }
}

// Plain ASCII texts take a path of their own; a text with other letters is folded in full, so
// "\u212A" (Kelvin) still finds "k". "ß" is "SS" in capitals, so either spelling finds both.
TEST(Journal, SearchFoldsUmlautsWhicheverSideIsUpperCase) {
  JournalRig rig;
  JournalEntry e = entryOfEachKind(rig.clock.now())[2];
  for (const char* name : {"FW MÜLLERSDORF", "Ärztehaus Ost", "Straßenmeisterei",
                           "FW Nordheim 1/44", "\u212Aielhafen", "Grosse Gasse"}) {
    e.name = e.line = QString::fromUtf8(name);
    rig.writer->record(e);
  }
  JournalRig::endBlock();
  JournalReader reader(rig.path());
  const std::pair<const char*, std::int64_t> cases[] = {
      {"müller", 1}, {"ÄRZTE", 1}, {"äRzTe", 1},    {"STRASSE", 1}, {"straßen", 1},
      {"ü", 1},      {"ö", 0},     {"nordHEIM", 1}, {"M 1/44", 1},  {"1/44 ", 0},
      {"LLERS", 1},  {"kiel", 1},  {"große", 1},    {"GROẞE", 1}};
  for (const auto& [needle, rows] : cases)
    EXPECT_EQ(reader.count({{}, QString::fromUtf8(needle), 0, 0}), rows) << needle;
}

// The search function is registered through the SQLite this program links. Where Qt's driver
// carries a copy of its own (Windows), its version and build options must be ours, or the two
// would read the one connection's structures differently.
TEST(Journal, TheSqliteOfTheSearchIsBuiltLikeTheDriversOwn) {
  JournalRig rig;
  JournalConnection connection(rig.path());
  QSqlQuery query(connection.db());
  QStringList driver, linked{QString::fromUtf8(sqlite3_libversion())};
  ASSERT_TRUE(query.exec(QStringLiteral("SELECT sqlite_version()")) && query.next());
  driver << query.value(0).toString();
  ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA compile_options")));
  while (query.next())
    driver << query.value(0).toString();
  for (int i = 0; const char* option = sqlite3_compileoption_get(i); ++i)
    linked << QString::fromUtf8(option);
  EXPECT_EQ(linked.join(u' ').toStdString(), driver.join(u' ').toStdString());
}

TEST(Journal, PagesFollowEachOtherNewestFirstWithoutGapsOrRepeats) {
  JournalRig rig;
  for (int i = 0; i < 250; ++i) {
    JournalEntry e = entryOfEachKind(rig.clock.now())[std::size_t(i % 5)];
    e.line = QString::number(i);
    rig.writer->record(e);
    if (i % 40 == 0)
      JournalRig::endBlock();
  }
  JournalRig::endBlock();
  JournalReader reader(rig.path());
  int expected = 249;
  std::int64_t before = 0;
  for (auto page = reader.page({}, 64); !page.empty(); page = reader.page({}, 64, before)) {
    for (const JournalEntry& e : page)
      ASSERT_EQ(e.line, QString::number(expected--));
    before = page.back().id;
  }
  EXPECT_EQ(expected, -1);
  // A filtered page keeps to its filter.
  for (const JournalEntry& e : reader.page({{JournalKind::Zvei}, {}, 0, 0}, 20, 100))
    EXPECT_TRUE(e.kind == JournalKind::Zvei && e.id < 100);
}

TEST(Journal, RetentionRemovesOldRowsAtStartAndZeroKeepsAll) {
  for (const int days : {0, 365, 30}) {
    JournalRig rig(days);
    const OleDate now = rig.clock.now();
    for (const double age : {400.0, 100.0, 29.0, 0.0}) {
      JournalEntry e = entryOfEachKind(now - age)[0];
      rig.writer->record(e);
    }
    JournalRig::endBlock();
    rig.start(days); // retention runs when the journal is opened
    JournalReader reader(rig.path());
    const std::int64_t expected = days == 0 ? 4 : days == 365 ? 3 : 2;
    EXPECT_EQ(reader.count({}), expected) << "retention " << days << " days";
  }
}

TEST(Journal, SchemaIsWalAndRefusesANewerVersion) {
  JournalRig rig;
  {
    JournalConnection c(rig.path());
    QSqlQuery q(c.db());
    ASSERT_TRUE(q.exec("PRAGMA journal_mode") && q.next());
    EXPECT_EQ(q.value(0).toString(), "wal");
    EXPECT_EQ(JournalSchema::check(c.db()), "ok");
    ASSERT_TRUE(q.exec("PRAGMA user_version = 99"));
  }
  JournalConnection c(rig.path());
  EXPECT_FALSE(JournalSchema::apply(c.db()).isEmpty());
}

// An older file gets the sender index and the mark column; its rows were all shown lines.
TEST(Journal, AFileOfTheFirstVersionGetsTheSenderIndexAndTheMarkColumn) {
  JournalRig rig;
  rig.writer->record(entryOfEachKind(rig.clock.now()).front());
  JournalRig::endBlock();
  rig.writer.reset();
  {
    JournalConnection c(rig.path());
    QSqlQuery q(c.db());
    ASSERT_TRUE(q.exec("DROP INDEX telegrams_sender") &&
                q.exec("ALTER TABLE telegrams DROP COLUMN mark") &&
                q.exec("PRAGMA user_version = 1"));
  }
  JournalConnection c(rig.path());
  ASSERT_EQ(JournalSchema::apply(c.db()), QString());
  QSqlQuery q(c.db());
  ASSERT_TRUE(q.exec("SELECT count(*) FROM sqlite_master WHERE name = 'telegrams_sender'") &&
              q.next());
  EXPECT_EQ(q.value(0).toInt(), 1);
  ASSERT_TRUE(q.exec("PRAGMA user_version") && q.next());
  EXPECT_EQ(q.value(0).toInt(), JournalSchema::kVersion);
  JournalFilter shown;
  shown.shownOnly = true;
  EXPECT_EQ(JournalReader(rig.path()).count(shown), 1);
}

// A file overwritten while the writer has it open (a restore gone wrong, another program) is no
// database any more: the next block moves it aside and goes on in a new file, losing no row.
TEST(Journal, AFileThatStopsBeingADatabaseIsMovedAsideAtTheNextBlock) {
  JournalRig rig;
  const auto entries = entryOfEachKind(rig.clock.now());
  rig.writer->record(entries[0]);
  JournalRig::endBlock();
  ASSERT_EQ(rig.writer->waiting(), 0u);
  for (const char* suffix : {"", "-wal", "-shm"}) {
    QFile junk(rig.path() + QLatin1String(suffix));
    ASSERT_TRUE(junk.open(QIODevice::ReadWrite));
    junk.write(QByteArray(junk.size() > 0 ? junk.size() : 4096, '\x5a'));
  }
  rig.writer->record(entries[1]);
  JournalRig::endBlock();
  JournalRig::endBlock(); // the new file takes the rows one turn later
  EXPECT_EQ(rig.writer->waiting(), 0u) << rig.writer->failure().toStdString();
  EXPECT_EQ(QDir(rig.dir.path()).entryList({"journal.damaged-*.sqlite"}).size(), 1);
  EXPECT_EQ(JournalReader(rig.path()).count({}), 1);
}

} // namespace
} // namespace meldlux
