// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/refdata_fixture.h"
#include "support/journal_fixture.h"
#include "support/signal_recorder.h"
#include "support/wait.h"

#include "journal/journal_connection.h"

#include "base/formats.h"
#include "history/history_model.h"
#include "history/history_window.h"
#include "journal/journal_export.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

using testing::entryOfEachKind;
using testing::JournalRig;

void press(QWidget* w, int key, const QString& text = {}) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &event);
}

// A journal from 04.12. 18:00 to 07.12.2026 12:00 (the clock's time), every six hours one row
// of each kind, numbered in its line so that the order can be read back.
struct History : ::testing::Test {
  JournalRig rig;
  testing::RecordingBoxes boxes;
  int written = 0;

  void SetUp() override {
    rig.clock.set(46363.5);
    for (int slot = 0; slot < 12; ++slot)
      add(rig.clock.now() - 2.75 + slot * 0.25);
  }
  void add(OleDate arrival, int blocks = 1) {
    for (int b = 0; b < blocks; ++b) {
      for (JournalEntry e : entryOfEachKind(arrival)) {
        e.line = QStringLiteral("%1 ").arg(written++) + e.line;
        rig.writer->record(e);
      }
    }
    JournalRig::endBlock();
    ASSERT_EQ(rig.writer->waiting(), 0u) << rig.writer->failure().toStdString();
  }
  int numberAt(const HistoryModel& m, int row) const {
    return m.entry(row).line.section(u' ', 0, 0).toInt();
  }
};

TEST_F(History, PagesComeAsTheViewAsksNewestFirstOrOldestFirst) {
  add(rig.clock.now(), 80); // 460 rows in all: two full pages and a part
  HistoryModel model(rig.clock, rig.path());
  EXPECT_EQ(model.rowCount(), HistoryModel::kPageRows);
  int pages = 1;
  while (model.canFetchMore({})) {
    model.fetchMore({});
    ++pages;
  }
  ASSERT_EQ(model.rowCount(), written);
  EXPECT_EQ(pages, 3);
  for (int row = 0; row < model.rowCount(); ++row)
    ASSERT_EQ(numberAt(model, row), written - 1 - row) << row;
  EXPECT_TRUE(model.error().isEmpty());

  // Oldest first pages upwards; new rows join at the end once the pages have reached it.
  model.setSlicing(7, 1000);
  model.sort(HistoryModel::Name, Qt::AscendingOrder);
  add(rig.clock.now()); // not reached yet: comes with the pages
  model.journalWritten();
  EXPECT_EQ(model.matching(), written);
  while (model.canFetchMore({}))
    model.fetchMore({});
  add(rig.clock.now());
  model.journalWritten();
  ASSERT_EQ(model.rowCount(), written);
  for (int row = 0; row < model.rowCount(); ++row)
    ASSERT_EQ(numberAt(model, row), row) << row;
  model.setQuery({.text = QStringLiteral("nord")});
  EXPECT_EQ(model.matching(), written * 2 / 5); // a text search knows once it has read all
}

TEST_F(History, QueryNarrowsByKindTextAndSpan) {
  HistoryModel model(rig.clock, rig.path());
  const QDate dec6(2026, 12, 6);
  struct Case {
    const char* name;
    HistoryQuery query;
    int rows;
  };
  const QDate today(2026, 12, 7);
  for (const auto& [typed, moment] : {std::pair{"6.12.2026 6:00", QDateTime(dec6, QTime(6, 0))},
                                      {" 06.12.26 ", {dec6, {}}},
                                      {"18:30", {today, QTime(18, 30)}},
                                      {"31.11.2026", {}},
                                      {"6.12.2026 24:00", {}},
                                      {"", {}}}) {
    const std::optional<TypedMoment> m = parseTypedMoment(QString::fromUtf8(typed), today);
    EXPECT_EQ(m ? QDateTime(m->day, m->time) : QDateTime(), moment) << typed;
  }
  const auto chosen = [&](QTime from, QTime to) {
    return HistoryQuery{{}, {}, HistorySpan::Chosen, dec6, dec6, from, to};
  };
  const Case cases[] = {
      {"all", {}, 60},
      {"one kind", {.kinds = {JournalKind::Zvei}}, 12},
      {"alarms", {.kinds = {JournalKind::Zvei, JournalKind::Pocsag}}, 24},
      {"umlaut, other case", {.text = QStringLiteral("süd")}, 12},
      {"identifier", {.text = QStringLiteral("[d]")}, 12},
      {"today", {.span = HistorySpan::Today}, 15},           // 00, 06, 12 o'clock
      {"last 24 h", {.span = HistorySpan::Last24Hours}, 25}, // 12 o'clock yesterday on
      {"one chosen day", chosen({}, {}), 20},
      {"from 06:00", chosen(QTime(6, 0), {}), 15},
      {"to 06:00", chosen({}, QTime(6, 0)), 10},
      {"kind, text and day",
       {{JournalKind::FmsControl}, QStringLiteral("WEG"), HistorySpan::Chosen, dec6, dec6, {}, {}},
       4},
  };
  for (const Case& c : cases) {
    model.setQuery(c.query);
    while (model.canFetchMore({}))
      model.fetchMore({});
    EXPECT_EQ(model.rowCount(), c.rows) << c.name;
    EXPECT_EQ(model.matching(), c.rows) << c.name;
  }
}

TEST_F(History, NewTelegramsGoInAtTheTopAndAFloodReadsTheTopAfresh) {
  HistoryModel model(rig.clock, rig.path());
  model.setQuery({.kinds = {JournalKind::Pocsag}});
  QObject::connect(rig.writer.get(), &JournalWriter::written, &model,
                   &HistoryModel::journalWritten);
  int inserted = 0, resets = 0;
  QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex&, int first, int) {
                     EXPECT_EQ(first, 0);
                     ++inserted;
                   });
  QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

  add(rig.clock.now()); // one row of each kind; one of them is a POCSAG row
  ASSERT_EQ(model.rowCount(), 13);
  EXPECT_EQ(numberAt(model, 0), written - 2); // the POCSAG row is the fourth of five
  EXPECT_EQ(model.entry(0).kind, JournalKind::Pocsag);
  EXPECT_EQ(inserted, 1);

  add(rig.clock.now(), HistoryModel::kLiveRows + 1); // more POCSAG rows than go in one by one
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(model.rowCount(), HistoryModel::kPageRows);
  EXPECT_EQ(numberAt(model, 0), written - 2);
}

// A needle three times in 660 rows, read ten ids a slice and fifty in one go: the first turn
// finds nothing and says so, the rest comes from the event loop, and new rows still go on top.
TEST_F(History, ARareNeedleIsSoughtSliceBySliceFromTheEventLoop) {
  for (int i = 0; i < 600; ++i) {
    JournalEntry e = entryOfEachKind(rig.clock.now())[std::size_t(i % 5)];
    e.line = (i % 200 == 7 ? QStringLiteral("Nadel %1") : QStringLiteral("Heu %1")).arg(i);
    rig.writer->record(e);
  }
  JournalRig::endBlock();
  HistoryWindow window(rig.clock, rig.path(), boxes);
  HistoryModel& model = window.model();
  model.setSlicing(10, 50);
  SignalCounter changes(&model, &HistoryModel::searchingChanged);
  int announced = 0; // rows the view was told of, one by one or in a page
  QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex&, int first, int last) { announced += last - first + 1; });
  window.findChild<QLineEdit*>(QStringLiteral("search"))->setText(QStringLiteral("nadel"));
  window.applyQuery();
  auto* state = window.findChild<QLabel*>(QStringLiteral("state"));
  EXPECT_TRUE(model.searching());
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_FALSE(model.canFetchMore({}));
  EXPECT_EQ(state->text(), QStringLiteral("Suche läuft … 0 Einträge gefunden"));

  QCoreApplication::processEvents();
  JournalEntry fresh = entryOfEachKind(rig.clock.now())[0];
  fresh.line = QStringLiteral("Nadel neu");
  rig.writer->record(fresh);
  JournalRig::endBlock();
  model.journalWritten();
  ASSERT_TRUE(testing::waitUntil([&] { return !model.searching(); }, 10000));

  QStringList lines;
  for (int row = 0; row < model.rowCount(); ++row)
    lines << model.entry(row).line;
  EXPECT_EQ(lines, QStringList({"Nadel neu", "Nadel 407", "Nadel 207", "Nadel 7"}));
  EXPECT_EQ(announced, model.rowCount());
  EXPECT_FALSE(model.canFetchMore({}));
  EXPECT_EQ(changes.count, 2);
  EXPECT_EQ(state->text(), QStringLiteral("4 Einträge"));
}

TEST_F(History, RepeatsAndFilteredRowsAreGreyedAndCanBeHidden) {
  JournalEntry repeat = entryOfEachKind(rig.clock.now()).front();
  repeat.mark = JournalMark::Repeat;
  rig.writer->record(repeat);
  JournalRig::endBlock();
  HistoryWindow window(rig.clock, rig.path(), boxes);
  auto* table = window.findChild<QTableView*>("table");
  const QModelIndex kind = table->model()->index(0, HistoryModel::Kind);
  EXPECT_EQ(kind.data().toString(), "FMS Fahrzeug (Wiederholung)");
  EXPECT_EQ(kind.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
  EXPECT_FALSE(table->model()->index(1, HistoryModel::Kind).data(Qt::ForegroundRole).isValid());
  const int all = table->model()->rowCount();
  window.findChild<QCheckBox*>("marked")->setChecked(false);
  EXPECT_EQ(table->model()->rowCount(), all - 1);
  EXPECT_NE(table->model()->index(0, HistoryModel::Kind).data().toString(),
            "FMS Fahrzeug (Wiederholung)");
}

// For a spreadsheet: a code keeps its leading zero, the colour reads as on a web page; counts
// are grouped by threes.
TEST(HistoryCsv, CodesStayTextColoursAreRgbAndCountsAreGrouped) {
  EXPECT_EQ(QStringList({formatCount(11383), formatCount(999), formatCount(1234567)}),
            QStringList({"11 383", "999", "1 234 567"}));
  JournalEntry e = entryOfEachKind(46363.5)[2];
  e.identifier = QStringLiteral("01234");
  e.colour = 0x123456; // blue 0x12, green 0x34, red 0x56
  EXPECT_EQ(
      csvRowForSpreadsheet(e, historyKindCaption(e.kind)),
      QByteArray(
          "07.12.2026 12:00:00;07.12.2026 11:59:59;ZVEI;\"=\"\"01234\"\"\";"
          "\"FF Süd; \"\"Vollalarm\"\"\";;;;\"12345 FF Süd; \"\"Vollalarm\"\"\";#563412\r\n"));
}

TEST_F(History, AMissingJournalIsAnEmptyTableWithAReason) {
  HistoryModel model(rig.clock, rig.path(QStringLiteral("none.sqlite")));
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_FALSE(model.canFetchMore({}));
  EXPECT_FALSE(model.error().isEmpty());
  EXPECT_FALSE(QFile::exists(rig.path(QStringLiteral("none.sqlite"))));
}

// A read that fails while a later one succeeds: the rows it lacks are not lost in silence.
TEST_F(History, AFailedReadStaysVisibleUntilTheRowsAreReadAfterAll) {
  HistoryWindow window(rig.clock, rig.path(), boxes);
  HistoryModel& model = window.model();
  auto* state = window.findChild<QLabel*>(QStringLiteral("state"));
  const auto renameColumn = [&](const char* from, const char* to) {
    JournalConnection other(rig.path());
    QSqlQuery q(other.db());
    ASSERT_TRUE(q.exec(QStringLiteral("ALTER TABLE telegrams RENAME COLUMN %1 TO %2")
                           .arg(QLatin1String(from), QLatin1String(to))));
  };
  add(rig.clock.now());
  renameColumn("message", "gone"); // the new rows cannot be read, their ids still can
  model.journalWritten();
  EXPECT_TRUE(model.error().contains(u"message")) << model.error().toStdString();
  EXPECT_EQ(state->text(), model.error());

  renameColumn("gone", "message");
  model.journalWritten();
  EXPECT_EQ(model.rowCount(), 65); // the rows the failed read left out come after all
  EXPECT_EQ(state->text(), QStringLiteral("65 Einträge"));
}

// Also: typed times, a backward span refused, Escape closes.
TEST_F(History, WindowSearchesFiltersCopiesAndExportsWhatItShows) {
  HistoryWindow window(rig.clock, rig.path(), boxes);
  window.show();
  auto* table = window.findChild<QTableView*>(QStringLiteral("table"));
  auto* search = window.findChild<QLineEdit*>(QStringLiteral("search"));
  auto* kind = window.findChild<QComboBox*>(QStringLiteral("kind"));
  ASSERT_TRUE(table && search && kind);
  EXPECT_EQ(table->model()->rowCount(), 60);

  // Typing in the table goes to the search; Enter shows the result and moves to the rows.
  table->setFocus();
  for (const QChar c : QStringLiteral("SÜD"))
    press(table, 0, c);
  EXPECT_EQ(search->text(), QStringLiteral("SÜD"));
  press(search, Qt::Key_Return);
  EXPECT_EQ(table->model()->rowCount(), 12);

  kind->setCurrentIndex(kind->findText(QStringLiteral("ZVEI")));
  EXPECT_EQ(table->model()->rowCount(), 12);
  kind->setCurrentIndex(kind->findText(QStringLiteral("POCSAG")));
  EXPECT_EQ(table->model()->rowCount(), 0);
  kind->setCurrentIndex(kind->findText(QStringLiteral("ZVEI")));
  const QModelIndex newestText = table->model()->index(0, HistoryModel::Text);
  EXPECT_EQ(newestText.data().toString(), QStringLiteral("57 12345 FF Süd; \"Vollalarm\""));

  table->setCurrentIndex(table->model()->index(0, 0));
  press(table, Qt::Key_Return);
  EXPECT_EQ(
      QApplication::clipboard()->text(),
      QStringLiteral("07.12.2026 12:00:00\tZVEI\t12345\tFF Süd; \"Vollalarm\"\t57 12345 FF Süd; "
                     "\"Vollalarm\""));

  // The export runs beside the event loop; the button waits for it.
  const QString file = rig.dir.filePath(QStringLiteral("export.csv"));
  SignalRecorder<QString> exported(&window, &HistoryWindow::exported);
  auto* exportButton = window.findChild<QPushButton*>(QStringLiteral("export"));
  window.startExport(file);
  EXPECT_EQ(exported.count(), 0u);
  EXPECT_FALSE(exportButton->isEnabled());
  EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("state"))->text().startsWith(u"Exportiere"));
  ASSERT_TRUE(testing::waitUntil([&] { return exported.count() != 0; }, 10000));
  ASSERT_EQ(exported.values, std::vector<QString>{QString()});
  EXPECT_TRUE(exportButton->isEnabled());
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("state"))->text(),
            QStringLiteral("12 Einträge nach %1 exportiert").arg(QDir::toNativeSeparators(file)));
  EXPECT_TRUE(window.suggestedExportFile().endsWith(u"/Verlauf_2026-12-07.csv"));
  QFile csv(file);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = csv.readAll().split('\n');
  ASSERT_EQ(lines.size(), 14); // header, twelve rows, the empty rest after the last CRLF
  EXPECT_TRUE(lines[0].startsWith("\xEF\xBB\xBF"
                                  "Ankunft;Telegrammzeit;Art;"));
  EXPECT_TRUE(
      lines[1].startsWith("07.12.2026 12:00:00;07.12.2026 11:59:59;ZVEI;\"=\"\"12345\"\"\";"))
      << lines[1].toStdString();
  EXPECT_TRUE(lines[12].startsWith("04.12.2026 18:00:00;")) << lines[12].toStdString();

  window.startExport(
      rig.dir.filePath(QStringLiteral("no/such/folder.csv"))); // fails: told in a box
  ASSERT_TRUE(testing::waitUntil([&] { return exported.count() == 2; }, 10000));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Verlauf exportieren"));
  EXPECT_EQ(boxes.shown[0].text,
            QStringLiteral("Die Datei konnte nicht geschrieben werden:\n") + exported.values[1]);

  // The text gets the room the other columns leave at the opening size.
  EXPECT_GT(table->columnWidth(HistoryModel::Text), table->viewport()->width() / 3);
  auto* state = window.findChild<QLabel*>(QStringLiteral("state"));
  search->clear();
  kind->setCurrentIndex(kind->findText(QStringLiteral("Alarme")));
  EXPECT_EQ(state->text(), QStringLiteral("24 Einträge"));
  const auto typeInto = [&](const char* field, const QString& text) {
    window.findChild<QLineEdit*>(QLatin1String(field))->setText(text);
    press(window.findChild<QLineEdit*>(QLatin1String(field)), Qt::Key_Return);
  };
  typeInto("first", QStringLiteral("06.12.2026 06:00"));
  typeInto("last", QStringLiteral("6.12.26"));
  EXPECT_EQ(state->text(), QStringLiteral("6 Einträge")); // two alarms at 06, 12 and 18 o'clock
  typeInto("last", QStringLiteral("6.12.2026 18:0x"));
  EXPECT_EQ(state->text(), QStringLiteral("Kein Datum: 6.12.2026 18:0x"));
  typeInto("last", QStringLiteral("6.12.2026 5:59"));
  EXPECT_EQ(state->text(), QStringLiteral("Das Ende des Zeitraums liegt vor seinem Anfang"));
  EXPECT_EQ(table->model()->rowCount(), 6);
  press(table, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace meldlux
