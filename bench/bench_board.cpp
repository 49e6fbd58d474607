// SPDX-License-Identifier: GPL-3.0-or-later
// The vehicle status board's start-up restore: 2,000 vehicles from the table, the last day and
// each vehicle's last earlier status out of a journal that holds 1, 30 or 90 days of statuses.

#include "base/clock.h"
#include "base/event_log.h"
#include "board/vehicle_board.h"
#include "journal/journal_writer.h"
#include "scratch_journal.h"
#include "refdata/vehicle_table.h"
#include "tables/builtin_tables.h"
#include "tables/status_tables.h"

#include <benchmark/benchmark.h>
#include <map>

using namespace meldlux;

namespace {

constexpr int kVehicles = 2000;
constexpr int kStatusesPerDay = 8; // a vehicle's day: out, on scene, transport, back, ...

QString identifier(int i) { return QStringLiteral("6%1").arg(1000000 + i, 7, 10, QChar(u'0')); }

// A journal with `days` days of statuses of every vehicle, spread evenly, a ZVEI alarm beside
// every tenth one; made once per size.
const ScratchJournal& journalOf(int days, const Clock& clock) {
  static std::map<int, std::unique_ptr<ScratchJournal>> made;
  auto& j = made[days];
  if (j)
    return *j;
  j = std::make_unique<ScratchJournal>();
  EventLog log;
  JournalWriter writer(clock, log, {j->path, 0, 30000}, {});
  const int total = days * kStatusesPerDay;
  for (int k = 0; k < total; ++k) {
    for (int v = 1; v <= kVehicles; ++v) {
      JournalEntry e;
      e.kind = JournalKind::FmsVehicle;
      e.direction = JournalDirection::FromVehicle;
      e.identifier = identifier(v);
      e.status = 1 + (k + v) % 8;
      e.arrival = e.telegramTime = clock.now() - days + (k + double(v) / kVehicles) / kStatusesPerDay;
      e.line = e.identifier + QStringLiteral(" %1").arg(e.status);
      writer.record(e);
      ++j->rows;
      if (v % 10 == 0) {
        JournalEntry alarm = e;
        alarm.kind = JournalKind::Zvei;
        alarm.status = -1;
        alarm.identifier = QStringLiteral("%1").arg(v, 5, 10, QChar(u'0'));
        writer.record(alarm);
        ++j->rows;
      }
    }
    writer.flush();
  }
  return *j;
}

void BM_BoardRestore(benchmark::State& state) {
  const ManualClock clock;
  StatusTables tables;
  const ZentrixReader defaults = [](const QString&, const QString&, const QString& d) { return d; };
  fillStatusColours(tables, defaults, QStringLiteral("255"), QStringLiteral("255"));
  fillStatusTexts(tables);
  fillOrgCodes(tables, defaults);
  VehicleTable vehicles;
  vehicles.resize(kVehicles + 10);
  for (int v = 1; v <= kVehicles; ++v) {
    VehicleRecord record;
    record.identifier.store(identifier(v));
    record.name.store(QStringLiteral("Florian Musterstadt %1").arg(v));
    vehicles.set(v, record);
  }
  const ScratchJournal& journal = journalOf(int(state.range(0)), clock);
  EventLog log;
  for (auto _ : state) {
    VehicleBoard board(clock, tables, vehicles, log);
    board.loadVehicles();
    const QString error = board.restore(journal.path);
    if (!error.isEmpty() || board.rowAt(kVehicles - 1).timeline.empty()) {
      state.SkipWithError("restore failed");
      break;
    }
    benchmark::DoNotOptimize(board.rowCount());
  }
  state.counters["journal_rows"] = double(journal.rows);
}
BENCHMARK(BM_BoardRestore)->Arg(1)->Arg(30)->Arg(90)->Unit(benchmark::kMillisecond);

} // namespace
