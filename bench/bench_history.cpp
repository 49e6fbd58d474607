// SPDX-License-Identifier: GPL-3.0-or-later
// The history window on a journal of 1,000,000 rows: opening it until the first page is painted,
// narrowing it by a search, and scrolling on by a page deep down the table.

#include "base/clock.h"
#include "base/event_log.h"
#include "history/history_window.h"
#include "journal/journal_writer.h"
#include "refdata/message_boxes_qt.h"
#include "scratch_journal.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace meldlux;

namespace {

constexpr int kRows = 1000000;

// A year of a busy channel: FMS statuses of 500 vehicles, every fifth row an alarm; made once.
const ScratchJournal& journal(const Clock& clock) {
  static std::unique_ptr<ScratchJournal> j;
  if (j)
    return *j;
  j = std::make_unique<ScratchJournal>();
  EventLog log;
  JournalWriter writer(clock, log, {j->path, 0, 30000}, {});
  for (int k = 0; k < kRows; ++k) {
    JournalEntry e;
    e.arrival = e.telegramTime = clock.now() - 365.0 + 365.0 * k / kRows;
    if (k % 5 == 0) {
      e.kind = JournalKind::Zvei;
      e.identifier = QStringLiteral("%1").arg(k % 997, 5, 10, QChar(u'0'));
      e.name = QStringLiteral("Feuerwehr Musterstadt Gruppe %1").arg(k % 997);
      e.line = e.identifier + QStringLiteral(" ") + e.name;
    } else {
      e.kind = JournalKind::FmsVehicle;
      e.direction = JournalDirection::FromVehicle;
      e.identifier = QStringLiteral("6%1").arg(1000000 + k % 500, 7, 10, QChar(u'0'));
      e.name = QStringLiteral("Florian Musterstadt %1").arg(k % 500);
      e.status = 1 + k % 8;
      e.line = e.name + QStringLiteral(" Status %1").arg(e.status);
    }
    writer.record(e);
    if (k % 10000 == 9999)
      writer.flush(); // blocks as the program writes them, not one huge transaction
  }
  writer.flush();
  return *j;
}

// Until the table has painted what it shows.
void showAndPaint(HistoryWindow& window) {
  window.show();
  QCoreApplication::processEvents();
  benchmark::DoNotOptimize(window.findChild<QTableView*>()->viewport()->grab());
}

void BM_HistoryOpen(benchmark::State& state) {
  const ManualClock clock;
  const ScratchJournal& j = journal(clock);
  QtMessageBoxes boxes;
  for (auto _ : state) {
    HistoryWindow window(clock, j.path, boxes);
    showAndPaint(window);
    if (window.model().rowCount() != HistoryModel::kPageRows) {
      state.SkipWithError("first page not read");
      break;
    }
  }
  state.counters["journal_rows"] = kRows;
}
BENCHMARK(BM_HistoryOpen)->Unit(benchmark::kMillisecond);

// A search typed into the open window: one rare name, so the first page takes the whole table.
// The search goes on from the event loop; the longest turn is what the strip would wait.
void BM_HistorySearch(benchmark::State& state) {
  using Steady = std::chrono::steady_clock;
  const ManualClock clock;
  const ScratchJournal& j = journal(clock);
  QtMessageBoxes boxes;
  HistoryWindow window(clock, j.path, boxes);
  showAndPaint(window);
  auto* search = window.findChild<QLineEdit*>(QStringLiteral("search"));
  int round = 0;
  Steady::duration longest{};
  std::int64_t turns = 0;
  for (auto _ : state) {
    search->setText(QStringLiteral("Gruppe 99%1").arg(round++ % 7)); // 990..996: one code each
    Steady::time_point start = Steady::now();
    window.applyQuery();
    for (;;) {
      longest = std::max(longest, Steady::now() - start);
      ++turns;
      if (!window.model().searching())
        break;
      start = Steady::now();
      QCoreApplication::processEvents();
    }
    benchmark::DoNotOptimize(window.findChild<QTableView*>()->viewport()->grab());
    if (window.model().rowCount() == 0) {
      state.SkipWithError("search found nothing");
      break;
    }
  }
  state.counters["longest_turn_ms"] = std::chrono::duration<double, std::milli>(longest).count();
  state.counters["turns"] = benchmark::Counter(double(turns), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HistorySearch)->Unit(benchmark::kMillisecond);

// One more page read at 100,000 rows deep, what scrolling on costs there.
void BM_HistoryFetchDeepPage(benchmark::State& state) {
  const ManualClock clock;
  const ScratchJournal& j = journal(clock);
  HistoryModel model(clock, j.path);
  while (model.rowCount() < 100000 && model.canFetchMore({}))
    model.fetchMore({});
  for (auto _ : state) {
    const int before = model.rowCount();
    model.fetchMore({});
    if (model.rowCount() != before + HistoryModel::kPageRows) {
      state.SkipWithError("page not read");
      break;
    }
  }
}
BENCHMARK(BM_HistoryFetchDeepPage)->Unit(benchmark::kMicrosecond);

} // namespace
