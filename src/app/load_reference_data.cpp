// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/load_reference_data.h"

#include "refdata/wallbrand_loaders.h"
#include "refdata/zentrix_loaders.h"
#include "tables/status_tables.h"

namespace meldlux {

namespace {

class Recorder {
public:
  Recorder(const LoaderEnvironment& env, ReferenceDataReport* report)
      : env_(env), report_(report) {}

  template <typename Load>
  std::int16_t run(const QString& table, const QString& file, Load&& load) {
    qsizetype entry = -1;
    if (report_) {
      entry = report_->entries.size();
      report_->entries.push_back({table, file, env_.files().find(file).has_value(), 0, false});
    }
    const std::int16_t result = load();
    if (report_) {
      report_->entries[entry].result = result;
      report_->entries[entry].completed = true;
    }
    return result;
  }

private:
  const LoaderEnvironment& env_;
  ReferenceDataReport* report_;
};

std::int16_t callPlaceLoader(const LoaderEnvironment& env,
                             const std::function<std::int16_t(const QString&)>& load,
                             const QString& name) {
  if (!load)
    return 0;
  const auto found = env.files().find(name);
  return load(found ? *found : env.files().directory().filePath(name));
}

} // namespace

void LoadReferenceData(const LoaderEnvironment& env, ReferenceTables& tables,
                       StatusTables& statusTables, const PlaceFileLoaders& placeLoaders,
                       ReferenceDataReport* report) {
  Recorder step(env, report);
  const QString texts = QStringLiteral("Statustexte");

  const std::int16_t control = step.run(texts, QStringLiteral("StatusL.DAT"), [&] {
    return LoadZentrixStatusTexts(env, QStringLiteral("StatusL.DAT"), statusTables, 1);
  });
  const std::int16_t vehicle = step.run(texts, QStringLiteral("StatusF.DAT"), [&] {
    return LoadZentrixStatusTexts(env, QStringLiteral("StatusF.DAT"), statusTables, 0);
  });
  if (control == 0 && vehicle == 0)
    step.run(texts, QStringLiteral("Settings\\BOSList.wbr"), [&] {
      return LoadWallbrandStatusTexts(env, QStringLiteral("Settings\\BOSList.wbr"), statusTables);
    });

  const QString places = QStringLiteral("Folgeorte");
  if (step.run(places, QStringLiteral("Folgetlg.DAT"), [&] {
        return LoadZentrixFollowUpPlaces(env, QStringLiteral("Folgetlg.DAT"),
                                         tables.followUpPlaces);
      }) == 0)
    step.run(places, QStringLiteral("Settings\\ClientList.wbr"), [&] {
      return LoadWallbrandClientList(env, QStringLiteral("Settings\\ClientList.wbr"),
                                     tables.followUpPlaces, statusTables);
    });

  const QString vehicles = QStringLiteral("Fahrzeuge");
  if (step.run(vehicles, QStringLiteral("Fahrzeug.Dat"), [&] {
        return LoadZentrixVehicles(env, QStringLiteral("Fahrzeug.Dat"), tables.vehicles);
      }) == 0)
    step.run(vehicles, QStringLiteral("Settings\\Fahrzeugmelder.wbr"), [&] {
      return LoadWallbrandVehicles(env, QStringLiteral("Settings\\Fahrzeugmelder.wbr"),
                                   tables.vehicles);
    });

  const QString receivers = QStringLiteral("Melder");
  if (step.run(receivers, QStringLiteral("Ton5.dat"), [&] {
        return LoadZentrixFiveTones(env, QStringLiteral("Ton5.dat"), tables.fiveTones);
      }) == 0)
    step.run(receivers, QStringLiteral("Settings\\FahrzeugMelder.wbr"), [&] {
      return LoadWallbrandReceivers(env, QStringLiteral("Settings\\FahrzeugMelder.wbr"),
                                    tables.fiveTones, tables.pocsag);
    });

  step.run(QStringLiteral("DME"), QStringLiteral("POCSAG.DAT"),
           [&] { return LoadZentrixPocsag(env, QStringLiteral("POCSAG.DAT"), tables.pocsag); });

  step.run(QStringLiteral("Orte"), QStringLiteral("Orte.txt"), [&] {
    return callPlaceLoader(env, placeLoaders.LoadPlaces, QStringLiteral("Orte.txt"));
  });
  step.run(QStringLiteral("Ersetzungen"), QStringLiteral("Ersetzen.txt"), [&] {
    return callPlaceLoader(env, placeLoaders.LoadReplacements, QStringLiteral("Ersetzen.txt"));
  });
}

} // namespace meldlux
