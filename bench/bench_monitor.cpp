// SPDX-License-Identifier: GPL-3.0-or-later
// The hall monitor from an alarm handed to it to the first paint of the unit's name, on a
// full-screen window with eight vehicles: 50 alarms, each after the monitor went idle again.
// Run under a real X server for the figure (xvfb-run -a env QT_QPA_PLATFORM=xcb ...).

#include "base/clock.h"
#include "base/event_log.h"
#include "board/vehicle_board.h"
#include "monitor/alarm_monitor.h"
#include "monitor/alarm_monitor_window.h"
#include "refdata/vehicle_table.h"
#include "tables/builtin_tables.h"
#include "tables/status_tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace meldlux;

namespace {

void MonitorAlarmToFirstPaint(benchmark::State& state) {
  SystemClock clock;
  EventLog log;
  StatusTables tables;
  fillStatusTexts(tables);
  VehicleTable vehicles;
  vehicles.resize(20);
  for (int i = 1; i <= 8; ++i) {
    VehicleRecord record;
    record.identifier.store(QStringLiteral("6412%1").arg(4400 + i));
    record.name.store(QStringLiteral("Florian Musterstadt 1/44-%1").arg(i));
    vehicles.set(i, record);
  }
  VehicleBoard board(clock, tables, vehicles, log);
  board.loadVehicles();
  AlarmMonitor monitor(clock, log, board);
  AlarmMonitorWindow window(monitor, [](const QString&) {});
  window.setPermanent(true);
  bool painted = false;
  QObject::connect(&window, &AlarmMonitorWindow::alarmPainted, [&] { painted = true; });
  const auto settle = [] {
    for (int i = 0; i < 20; ++i)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  };
  settle();
  int n = 0;
  for (auto _ : state) {
    painted = false;
    QElapsedTimer timer;
    timer.start();
    monitor.alarm({clock.now(), QStringLiteral("21001"), QStringLiteral("FF Musterstadt"),
                   QStringLiteral("B3 Wohnungsbrand Hauptstraße %1").arg(++n), false});
    while (!painted && timer.elapsed() < 5000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    if (!painted)
      state.SkipWithError("no paint within 5 s");
    monitor.dismiss();
    settle();
  }
}
BENCHMARK(MonitorAlarmToFirstPaint)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max",
                        [](const std::vector<double>& v) {
                          return *std::max_element(v.begin(), v.end());
                        })
    ->Unit(benchmark::kMillisecond);

} // namespace
