// SPDX-License-Identifier: GPL-3.0-or-later
// The whole road of a telegram without widgets: a received block through the dispatch and the
// handlers into the popup model, with full reference tables, places and replacement pairs.
#include "base/clock.h"
#include "base/event_log.h"
#include "display/foreground.h"
#include "display/popup_model.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "link/receiver.h"
#include "refdata/place_table.h"
#include "refdata/reference_tables.h"
#include "refdata/replacements.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"
#include "tables/builtin_tables.h"
#include "tables/status_tables.h"
#include "telegrams/alert_sounds.h"
#include "telegrams/handler_steps.h"
#include "telegrams/sound_player.h"
#include "telegrams/telegram_handler_set.h"
#include "telegrams/tray_tip.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <random>
#include <vector>

using namespace meldlux;

namespace {

class SilentPlayer final : public SoundPlayer {
public:
  bool play(const QString&) override { return true; }
};

QString hex8(std::uint32_t value) {
  return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

struct Road {
  EventLog log; // off
  ManualClock clock;
  Options options;
  LinkState link;
  StatusLabel status{log};
  Indicators indicators{log};
  StatusTables tables;
  ReferenceTables reference;
  PlaceTable places;
  ReplacementTable replacements;
  FixedScreen screen;
  FixedTextMetrics metrics;
  NoForeground foreground;
  PopupModel popup{
      options, clock, link, replacements, indicators, log, PopupPorts{screen, metrics, foreground}};
  SilentPlayer player;
  AlertSounds sounds{options, clock, link, log, player};
  TrayTip tray{log};
  HandlerSteps steps{clock, link, options, status, tray};
  TelegramHandlerSet handlers{
      HandlerContext{options, clock, tables, reference, places, popup, indicators, steps, sounds}};
  Receiver receiver{clock, link, status, options, indicators, reference.followUpPlaces};

  std::vector<QString> vehicleIds;
  std::vector<QString> fiveToneCodes;
  std::vector<int> rics;
  std::vector<QString> placeCodes;

  Road() {
    std::mt19937 random(42);
    fillStatusTexts(tables);
    for (int k = 0; k < 19; ++k)
      tables.colours[std::size_t(k)] = 16777215;
    for (int k = 0; k < 16; ++k)
      tables.orgCode(k) = QStringLiteral("ORG%1").arg(k);
    link.ConnectedSince = clock.now() - 1;
    options.setText(Text::txtMsgLines, QStringLiteral("30"));
    options.setChecked(Check::chkSndAlarm, true);
    options.setChecked(Check::chkSndFzg, true);
    options.setChecked(Check::chkSndText, true);
    options.setChecked(Check::chkSndSA, true);

    reference.vehicles.resize(2010);
    for (int k = 1; k <= 2000; ++k) {
      VehicleRecord record;
      const QString id = QStringLiteral("6%1").arg(1000000 + k * 37, 7, 10, QLatin1Char('0'));
      record.identifier.store(id);
      record.name.store(
          QStringLiteral("Florian Landkreis %1/%2-%3").arg(k % 90).arg(k % 50).arg(k));
      reference.vehicles.set(k, record);
      vehicleIds.push_back(id);
    }
    for (int k = 1; k <= 2500; ++k) {
      FiveToneRecord record;
      const QString code = QStringLiteral("%1").arg(10000 + k * 31, 5, 10, QLatin1Char('0'));
      record.code.store(code);
      record.name.store(QStringLiteral("Schleife %1 Feuerwehr Ort %2").arg(k).arg(k % 300));
      reference.fiveTones.set(k, record);
      fiveToneCodes.push_back(code);
    }
    reference.pocsag.resize(2001);
    for (int k = 1; k <= 2000; ++k) {
      PocsagRecord record;
      record.ric = 1000000 + k * 13;
      record.subAddress = 1 + k % 4;
      record.name.store(QStringLiteral("Melder %1 Wehr %2").arg(k).arg(k % 120));
      reference.pocsag.set(k, record);
      rics.push_back(record.ric);
    }
    for (int k = 0; k < 9500; ++k) {
      const QString first = hex8(random());
      const QString second = hex8(random());
      places.setRow(k, QStringLiteral("&TRN") + first + u'E' + second,
                    QStringLiteral("Ort %1, Straße %2").arg(k).arg(k % 77));
      if (k % 19 == 0)
        placeCodes.push_back(QStringLiteral("&&9") + second + first + QStringLiteral("00000000"));
    }
    places.SortPlaces(0, 9499);
    places.PlaceCount = 9500;
    // Abbreviations with varied first letters, as users write them; a few match the lines.
    for (int k = 0; k < 500; ++k) {
      QString find;
      const int length = 2 + int(random() % 5);
      for (int c = 0; c < length; ++c)
        find += QChar(u'A' + int(random() % 26));
      replacements.rows[std::size_t(k)] = {find, find.toLower() + QStringLiteral("-x")};
    }
    replacements.rows[10] = {QStringLiteral("Florian"), QStringLiteral("Fl.")};
    replacements.rows[20] = {QStringLiteral("Feuerwehr"), QStringLiteral("FW")};
    replacements.ReplacementCount = 500;
    receiver.setHandlers(&handlers);
  }

  // A realistic mix: mostly vehicle statuses, some commands and text telegrams, alarms.
  std::vector<QString> mix(int count) {
    std::mt19937 random(7);
    std::vector<QString> lines;
    const int vehicleStatuses[] = {1, 2, 3, 4, 6, 7, 8, 1, 2, 3, 4, 5, 9, 15};
    for (int k = 0; k < count; ++k) {
      const int kind = int(random() % 100);
      const QString& id = vehicleIds[random() % vehicleIds.size()];
      if (kind < 55) {
        const int st = vehicleStatuses[random() % std::size(vehicleStatuses)];
        lines.push_back(QStringLiteral("FMSTlg\t%1\t\t\t\t\t%2\t\t0\t\t\t\t\t").arg(id).arg(st));
      } else if (kind < 62) {
        lines.push_back(
            QStringLiteral("FMSTlg\t%1\t\t\t\t\t%2\t\t1\t\t\t\t\t").arg(id).arg(1 + random() % 9));
      } else if (kind < 67) {
        const QString text = random() % 2
                                 ? placeCodes[random() % placeCodes.size()]
                                 : QStringLiteral("Bitte Wache anrufen & melden %1").arg(k);
        lines.push_back(QStringLiteral("FMSTlg\t%1\t\t\t\t\t10\t\t1\t\t\t\t\t%2").arg(id, text));
      } else if (kind < 70) {
        lines.push_back(QStringLiteral("FMSTlg\t6%1\t\t\t\t\t3\t\t0\t\t\t\t\t")
                            .arg(random() % 10000000, 7, 10, QLatin1Char('0')));
      } else if (kind < 85) {
        const QString code =
            random() % 10 ? fiveToneCodes[random() % fiveToneCodes.size()]
                          : QStringLiteral("%1").arg(random() % 100000, 5, 10, QLatin1Char('0'));
        lines.push_back(QStringLiteral("ZVEI\t") + code);
      } else {
        const int ric = random() % 10 ? rics[random() % rics.size()] : int(random() % 9000000);
        lines.push_back(QStringLiteral("POC\t%1\t%2\tEinsatz B3 Brand Wohnhaus, Hauptstr. %3")
                            .arg(ric)
                            .arg(QChar(u'A' + int(random() % 4)))
                            .arg(k));
      }
    }
    return lines;
  }
};

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const std::size_t index = std::min(values.size() - 1, std::size_t(p * double(values.size())));
  return values[index];
}

// One telegram per received block, each block in a fresh burst window, so every telegram runs
// the popup's full refresh and layout (the most work a telegram can cause).
void BM_TelegramToPopup(benchmark::State& state) {
  Road road;
  const std::vector<QString> lines = road.mix(4000);
  std::vector<double> micros;
  micros.reserve(lines.size() * 8);
  std::size_t next = 0;
  for (auto _ : state) {
    const QString block = lines[next++ % lines.size()] + QStringLiteral("\r\n");
    road.clock.advance(2.5);
    road.link.ReceiveBurstStart = -100;
    const auto start = std::chrono::steady_clock::now();
    road.receiver.Winsock2_DataArrival(block);
    const auto stop = std::chrono::steady_clock::now();
    micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  state.counters["median_us"] = percentile(micros, 0.5);
  state.counters["p99_us"] = percentile(micros, 0.99);
  state.counters["telegrams_per_s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TelegramToPopup)->Iterations(40000);

// A backlog after a reconnect: 1000 lines in one block (the popup is not redrawn during it).
void BM_BacklogBlock(benchmark::State& state) {
  Road road;
  const std::vector<QString> lines = road.mix(1000);
  QString block;
  for (const QString& line : lines)
    block += line + QStringLiteral("\r\n");
  for (auto _ : state) {
    road.clock.advance(3);
    road.receiver.Winsock2_DataArrival(block);
  }
  state.counters["telegrams_per_s"] =
      benchmark::Counter(double(state.iterations()) * 1000, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BacklogBlock)->Unit(benchmark::kMillisecond);

} // namespace
