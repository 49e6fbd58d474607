// SPDX-License-Identifier: GPL-3.0-or-later
// Reference data: vehicle lookup on a full table, and loading a maximum data set of each server
// product through the start-up step.

#include "app/load_reference_data.h"
#include "base/cp1252.h"
#include "base/event_log.h"
#include "refdata/place_table.h"
#include "refdata/replacements.h"
#include "refdata/user_lists_loader.h"
#include "refdata/zentrix_records.h"
#include "state/options.h"
#include "tables/status_tables.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace meldlux;

namespace {

QString identifier(int i) {
  static const char* digits = "6987ABC";
  return QStringLiteral("%1%2").arg(QChar(digits[i % 7])).arg(4120000 + i, 7, 10, QChar(u'0'));
}

VehicleTable fullTable() {
  VehicleTable table;
  table.resize(2010);
  for (int i = 1; i <= 2000; ++i) {
    VehicleRecord record;
    record.identifier.store(identifier(i));
    record.name.store(QStringLiteral("Florian Musterstadt %1").arg(i));
    table.set(i, record);
  }
  return table;
}

// Half known vehicles spread over the table, half unknown ones.
std::vector<QString> probes() {
  std::vector<QString> out;
  for (int i = 0; i < 512; ++i)
    out.push_back(i % 2 ? identifier(1 + (i * 37) % 2000)
                        : QStringLiteral("F%1").arg(i, 7, 10, QChar(u'0')));
  return out;
}

void BM_FindVehicle(benchmark::State& state) {
  const VehicleTable table = fullTable();
  const auto keys = probes();
  std::size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.FindVehicle(keys[k++ & 511]));
  }
}
BENCHMARK(BM_FindVehicle);

void BM_FindVehicleByScan(benchmark::State& state) {
  const VehicleTable table = fullTable();
  const auto keys = probes();
  std::size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.findVehicleByScan(keys[k++ & 511]));
  }
}
BENCHMARK(BM_FindVehicleByScan);

class NoBoxes final : public MessageBoxes {
public:
  void show(const QString&, const QString&, Icon) override {}
};

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
}

QByteArray lines(const QStringList& list) {
  QString text;
  for (const QString& line : list)
    text += line + QStringLiteral("\r\n");
  return cp1252::encode(text);
}

void writeZentrix(const QDir& dir) {
  QByteArray status;
  for (int k = 0; k < 256; ++k)
    status += zentrix::writeStatusText(QStringLiteral("Status %1").arg(k % 16));
  writeFile(dir.filePath("StatusF.DAT"), status);
  writeFile(dir.filePath("StatusL.DAT"), status);
  QByteArray places;
  for (int i = 1; i <= 100; ++i)
    places += zentrix::writeFollowUp(std::int16_t(i), QStringLiteral("Folgeort %1").arg(i), '\0');
  writeFile(dir.filePath("Folgetlg.DAT"), places);
  QByteArray vehicles;
  for (int i = 1; i <= 2000; ++i) {
    VehicleRecord record;
    record.identifier.store(identifier(i));
    record.name.store(QStringLiteral("Florian Musterstadt %1").arg(i));
    record.info.store(u"HLF 20");
    vehicles += zentrix::writeVehicle(record);
  }
  writeFile(dir.filePath("Fahrzeug.Dat"), vehicles);
  QByteArray tones;
  for (int i = 1; i <= 2500; ++i)
    tones += zentrix::writeFiveTone({FixedText<5>(QString::number(20000 + i)),
                                     FixedText<50>(QStringLiteral("Melder %1").arg(i))});
  writeFile(dir.filePath("Ton5.dat"), tones);
  QByteArray pagers;
  for (int i = 1; i <= 2000; ++i) {
    PocsagRecord record;
    record.ric = 1000000 + i / 4;
    record.subAddress = 1 + i % 4;
    record.name.store(QStringLiteral("Pager %1").arg(i));
    pagers += zentrix::writePocsag(record);
  }
  writeFile(dir.filePath("POCSAG.DAT"), pagers);
}

void writeWallbrand(const QDir& dir) {
  dir.mkpath("Settings");
  QStringList bos;
  for (int org = 0; org < 16; ++org)
    for (int s = 0; s < 16; ++s)
      bos << QStringLiteral("LST%1 Status %2")
                 .arg(org < 10 ? QString::number(org) + ":" : QString::number(org))
                 .arg(s)
          << QStringLiteral("KFZ%1 Auftrag %2")
                 .arg(org < 10 ? QString::number(org) + ":" : QString::number(org))
                 .arg(s);
  writeFile(dir.filePath("Settings/BOSList.wbr"), lines(bos));
  QStringList client;
  for (int i = 1; i <= 100; ++i)
    client << QStringLiteral("FOLGEORT:%1 Folgeort %1").arg(i);
  for (int k = 0; k < 19; ++k)
    client << QStringLiteral("STATUSFARBE: %1 0 0").arg(k);
  writeFile(dir.filePath("Settings/ClientList.wbr"), lines(client));
  QStringList melder;
  for (int i = 1; i <= 2000; ++i)
    melder
        << QStringLiteral("KFZ %1 1 0 0 Florian Musterstadt %2 # HLF 20").arg(identifier(i)).arg(i);
  for (int i = 1; i <= 2500; ++i)
    melder << QStringLiteral("FME %1 1 0 0 Melder %2").arg(20000 + i).arg(i);
  for (int i = 1; i <= 2000; ++i)
    melder << QStringLiteral("FME %1%2 1 0 0 Pager %3")
                  .arg(1000000 + i / 4)
                  .arg(QChar(u'A' + i % 4))
                  .arg(i);
  writeFile(dir.filePath("Settings/FahrzeugMelder.wbr"), lines(melder));
}

// The user's own lists belong to a full data set whichever product is installed.
void writeUserLists(const QDir& dir) {
  const auto hex8 = [](int value) {
    return QStringLiteral("%1").arg(value, 8, 16, QChar(u'0')).toUpper();
  };
  QStringList orte;
  for (int i = 0; i < 9500; ++i)
    orte << QStringLiteral("&TRN%1E%2;Musterstadt, Hauptstraße %3")
                .arg(hex8(0x10000000 + i * 7919), hex8(0x20000000 + i))
                .arg(i);
  writeFile(dir.filePath("Orte.txt"), lines(orte));
  QStringList ersetzen{QStringLiteral("=>")};
  for (int i = 0; i < 500; ++i)
    ersetzen << QStringLiteral("Kürzel %1=>Langer Name %1").arg(i);
  writeFile(dir.filePath("Ersetzen.txt"), lines(ersetzen));
}

void loadAll(benchmark::State& state, void (*writer)(const QDir&)) {
  QTemporaryDir temp;
  const QDir dir(temp.path());
  writer(dir);
  writeUserLists(dir);
  // The user lists are opened by bare name, like at start-up.
  const QString previousDir = QDir::currentPath();
  QDir::setCurrent(dir.path());
  const ReferenceFiles files(dir);
  Options options;
  EventLog log;
  NoBoxes boxes;
  int notices = 0;
  const LoaderEnvironment env(files, options, boxes, log, [&](const QString&) { ++notices; });
  UserListsLoader userLists(options, [&](const QString&) { ++notices; });
  for (auto _ : state) {
    auto tables = std::make_unique<ReferenceTables>();
    auto status = std::make_unique<StatusTables>();
    auto places = std::make_unique<PlaceTable>();
    auto replacements = std::make_unique<ReplacementTable>();
    const PlaceFileLoaders userListLoaders{
        [&](const QString& path) { return userLists.LoadPlaces(*places, path); },
        [&](const QString& path) { return userLists.LoadReplacements(*replacements, path); }};
    LoadReferenceData(env, *tables, *status, userListLoaders);
    benchmark::DoNotOptimize(tables->vehicles.FindVehicle(identifier(2000)));
    if (places->PlaceCount != 9500 || replacements->ReplacementCount != 500)
      state.SkipWithError("user lists not loaded in full");
  }
  state.counters["notices"] = notices / double(state.iterations());
  QDir::setCurrent(previousDir);
}

void BM_LoadZentrixMaximum(benchmark::State& state) { loadAll(state, writeZentrix); }
BENCHMARK(BM_LoadZentrixMaximum)->Unit(benchmark::kMillisecond);

void BM_LoadWallbrandMaximum(benchmark::State& state) { loadAll(state, writeWallbrand); }
BENCHMARK(BM_LoadWallbrandMaximum)->Unit(benchmark::kMillisecond);

} // namespace
