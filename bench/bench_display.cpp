// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the popup's refresh on a full list, and of idle cleanup ticks with the real window.
#include "base/clock.h"
#include "base/event_log.h"
#include "display/cleanup_tick.h"
#include "display/foreground.h"
#include "display/popup_model.h"
#include "display/popup_window.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "display/text_metrics_qt.h"
#include "refdata/replacements.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace meldlux;

struct Popup {
  explicit Popup(const TextMetrics& metrics)
      : model(options, clock, link, replacements, indicators, log,
              PopupPorts{screen, metrics, foreground}),
        cleanup(model, link, clock) {
    options.setText(Text::txtMsgLines, QStringLiteral("30"));
    options.setText(Text::txtMsgTime, QStringLiteral("0")); // every line stays fresh
    for (int i = 0; i < MessageList::kSize; ++i) {
      QString text =
          QStringLiteral("Florian Musterstadt 1/46-%1 Status 3 Einsatz übernommen").arg(i);
      model.ShowPopup();
      model.AddMessage(clock.now(), text, 65280);
      model.MarkNewestLine();
      model.RefreshLines();
      model.LayoutPopup();
      clock.advance(1);
    }
  }
  ManualClock clock;
  EventLog log;
  Options options;
  LinkState link;
  ReplacementTable replacements;
  Indicators indicators{log};
  FixedScreen screen;
  NoForeground foreground;
  PopupModel model;
  CleanupTick cleanup;
};

void settle() {
  for (int i = 0; i < 10; ++i)
    QCoreApplication::processEvents();
}

void BM_RefreshAndLayoutFullList(benchmark::State& state) {
  FixedTextMetrics metrics;
  Popup popup(metrics);
  for (auto _ : state) {
    popup.model.RefreshLines();
    popup.model.LayoutPopup();
  }
  benchmark::DoNotOptimize(popup.model.LastLine());
}
BENCHMARK(BM_RefreshAndLayoutFullList);

// A new line at the top of a full list rewrites every label: the busiest refresh there is.
void BM_NewLineOnFullList(benchmark::State& state) {
  FixedTextMetrics metrics;
  Popup popup(metrics);
  int n = 0;
  for (auto _ : state) {
    QString text = QStringLiteral("Zeile %1").arg(++n);
    popup.model.AddMessage(popup.clock.now(), text, 255);
    popup.model.RefreshLines();
    popup.model.LayoutPopup();
  }
}
BENCHMARK(BM_NewLineOnFullList);

void BM_SixtyIdleTicksWithWindow(benchmark::State& state) {
  QtTextMetrics metrics;
  Popup popup(metrics);
  PopupWindow window(popup.model);
  settle();
  popup.cleanup.TimerCleanup_Timer(); // settles the indicators after the last resize
  settle();
  const int paintsBefore = window.paintCount();
  for (auto _ : state) {
    for (int tick = 0; tick < 60; ++tick) {
      popup.clock.advance(1);
      popup.cleanup.TimerCleanup_Timer();
      QCoreApplication::processEvents();
    }
    popup.clock.advance(-60); // every round covers the same minute: nothing ages out
  }
  state.counters["repaints"] = double(window.paintCount() - paintsBefore);
  state.counters["visible"] = window.isVisible() ? 1 : 0;
}
BENCHMARK(BM_SixtyIdleTicksWithWindow)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

} // namespace
