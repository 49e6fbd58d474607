// SPDX-License-Identifier: GPL-3.0-or-later
// Dispatch of a realistic received block of 10,000 lines into counting handlers, against only
// splitting the same block at CR LF.
#include "base/clock.h"
#include "base/event_log.h"
#include "link/receiver.h"
#include "link/telegram_handlers.h"
#include "link/wire_protocol.h"
#include "refdata/follow_up_places.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"

#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

using namespace meldlux;

class CountingHandlers : public TelegramHandlers {
public:
  std::int64_t calls = 0;
  std::int64_t characters = 0;

  void HandleZvei(QString& code, OleDate&) override { count(code, {}); }
  void HandlePocsag(QString& ric, QString& text, QString&, OleDate&) override { count(ric, text); }
  void HandleFmsVehicle(QString& identifier, std::int16_t&, QString& text, OleDate&) override {
    count(identifier, text);
  }
  void HandleFmsControl(QString& identifier, std::int16_t&, QString& text, OleDate&) override {
    count(identifier, text);
  }

private:
  void count(const QString& first, const QString& text) {
    ++calls;
    characters += first.size() + text.size();
  }
};

QString tab(std::initializer_list<QString> fields) { return QStringList(fields).join(u'\t'); }

QString markerLine(const QString& identifier, const QString& type, const QString& direction,
                   const QString& text) {
  return QStringList{
      "#!XX!#04.12.26", "20:15:00", identifier, type, "1", direction, "0", "0", "0", "0", "0", text}
      .join(QStringLiteral("#![]!#"));
}

// The mix a busy channel gives: FMS statuses of both directions and formats, text telegrams,
// alarms, heartbeats and the odd line that matches nothing.
QString realisticBlock(int lines) {
  const QStringList kinds = {
      "#!XX!#",
      tab({"FMSTlg", "64123456", "x", "x", "x", "x", "3", "x", "0", "x", "0", "x", "0", ""}),
      tab({"FMSTlg", "94123457", "x", "x", "x", "x", "4", "x", "0", "x", "1", "x", "17", ""}),
      tab({"FMSTlg", "6D123458", "x", "x", "x", "x", "10", "x", "0", "x", "2", "x", "0",
           " Lage unverändert "}),
      tab({"FMSTlg", "64123456", "x", "x", "x", "x", "2", "x", "1", "x", "0", "x", "0", ""}),
      tab({"FMSTlg", "64123456", "x", "x", "x", "x", "10", "x", "1", "x", "0", "x", "0",
           "Bitte &TRN melden"}),
      tab({"ZVEI", "25314", "x"}),
      tab({"POC", " 1234567 ", " 4 ", " Brand Wohnhaus Hauptstr. 1 "}),
      "#!XX!#",
      markerLine("64123456", "3", "false", ""),
      markerLine("64123456", "1", "false", "EGLOF_BAVARIA 007"),
      markerLine("A1234567", "10", "false", "EGLOF_GPSINFO : 48.1371 11.5754"),
      markerLine("64123456", "2", "true", ""),
      markerLine("64123456", "10", "true", "Zum Einsatz;TRN melden (12)"),
      markerLine("25314", "16", "false", ""),
      markerLine("12345674", "17", "false", "  Probealarm  "),
      "#!XX!#",
      "Willkommen",
  };
  QString block;
  for (int i = 0; i < lines; ++i) {
    block += kinds[i % kinds.size()];
    block += QStringLiteral("\r\n");
  }
  return block;
}

constexpr int kLines = 10000;

template <typename ClockType> void BM_Dispatch(benchmark::State& run) {
  ClockType clock;
  EventLog log;
  LinkState state;
  StatusLabel statusLabel(log);
  Options options;
  options.setChecked(Check::chkMsgAktiv, true);
  Indicators indicators(log);
  FollowUpPlaces places;
  CountingHandlers handlers;
  Receiver receiver(clock, state, statusLabel, options, indicators, places);
  receiver.setHandlers(&handlers);
  const QString block = realisticBlock(kLines);

  for (auto _ : run) {
    state.ReceiveBurstCount = 0;
    state.ReceivedTotal = 0;
    receiver.Winsock2_DataArrival(block);
  }
  if (state.ReceivedTotal == 0 || handlers.calls == 0 || statusLabel.caption() != "Unbekannt")
    run.SkipWithError("block was not dispatched");
  run.SetItemsProcessed(std::int64_t(run.iterations()) * kLines);
  run.counters["calls/block"] = double(handlers.calls) / double(run.iterations());
}
BENCHMARK_TEMPLATE(BM_Dispatch, ManualClock)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Dispatch, SystemClock)->Unit(benchmark::kMicrosecond);

void BM_SplitOnly(benchmark::State& run) {
  const QString block = realisticBlock(kLines);
  for (auto _ : run) {
    std::int64_t pieces = 0;
    forEachPiece(block, [&pieces](QStringView piece) {
      benchmark::DoNotOptimize(piece.data());
      ++pieces;
    });
    benchmark::DoNotOptimize(pieces);
  }
  run.SetItemsProcessed(std::int64_t(run.iterations()) * kLines);
}
BENCHMARK(BM_SplitOnly)->Unit(benchmark::kMicrosecond);

} // namespace
