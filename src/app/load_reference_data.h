// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/loader_environment.h"
#include "refdata/reference_tables.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

namespace meldlux {

struct StatusTables;

// The place and replacement lists are loaded by the telegram side; start-up only calls them, with
// the path of the file as found in the data directory (or where it would be when absent).
struct PlaceFileLoaders {
  std::function<std::int16_t(const QString& path)> LoadPlaces;
  std::function<std::int16_t(const QString& path)> LoadReplacements;
};

// One loader call of the reference-data step, in the order made.
struct ReferenceDataReport {
  struct Entry {
    QString table; // "Statustexte", "Folgeorte", "Fahrzeuge", "Melder", "DME", "Orte", ...
    QString file;  // the name start-up uses
    bool present = false;
    std::int16_t result = 0;
    bool completed = false; // false: this loader failed and ended the step
  };
  QList<Entry> entries;
};

// Loads the reference data table by table: a table comes from the first server product's file
// when it is present and usable, else from the second product's list. Status texts: "StatusL.DAT"
// into the control-centre direction, "StatusF.DAT" into the vehicle direction, "BOSList.wbr" only
// when both gave 0; then follow-up places, vehicles, receivers, pagers, places, replacements.
// A Failure of any loader leaves this function at once (the later loaders do not run); start-up's
// trap catches it.
void LoadReferenceData(const LoaderEnvironment& env, ReferenceTables& tables,
                       StatusTables& statusTables, const PlaceFileLoaders& placeLoaders,
                       ReferenceDataReport* report = nullptr);

} // namespace meldlux
