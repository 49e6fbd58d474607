// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reference_data_check.h"

#include "base/event_log.h"
#include "base/failure.h"
#include "refdata/place_table.h"
#include "refdata/replacements.h"
#include "refdata/user_lists_loader.h"
#include "refdata/wallbrand_loaders.h"
#include "state/options.h"
#include "tables/status_tables.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <memory>

namespace meldlux {

namespace {

class CollectingDiagnostics final : public LoadDiagnostics {
public:
  void skipped(const QString& file, Unit unit, qint64 number, const QString& reason) override {
    QString where = file;
    if (unit == Unit::Line)
      where += QStringLiteral(", Zeile %1").arg(number);
    else if (unit == Unit::Record)
      where += QStringLiteral(", Datensatz %1").arg(number);
    lines << where + QStringLiteral(": ") + reason;
  }
  QStringList lines;
};

class CollectingBoxes final : public MessageBoxes {
public:
  void show(const QString& title, const QString& text, Icon icon) override {
    lines << QStringLiteral("\"%1\"%2: %3")
                 .arg(title, icon == Icon::Error ? QStringLiteral(" (Fehler)") : QString(), text);
  }
  QStringList lines;
};

// The file that filled a table: the last loader of it that completed with a result.
const ReferenceDataReport::Entry* sourceOf(const ReferenceDataReport& report,
                                           const QString& table) {
  const ReferenceDataReport::Entry* source = nullptr;
  for (const auto& entry : report.entries)
    if (entry.table == table && entry.completed && entry.result > 0)
      source = &entry;
  return source;
}

void findDuplicates(const ReferenceTables& tables, const ReferenceDataReport& report,
                    QStringList& out) {
  if (const auto* source = sourceOf(report, QStringLiteral("Fahrzeuge"))) {
    QHash<QString, int> first;
    for (int i = 1; i <= source->result && i <= tables.vehicles.upperBound(); ++i) {
      const QString id = tables.vehicles.at(i).identifier.text();
      if (id.contains(u' ') || id.contains(QChar(0)))
        out << QStringLiteral("%1, Fahrzeug %2: Kennung \"%3\" hat keine 8 Zeichen und wird nie "
                              "gefunden")
                   .arg(source->file)
                   .arg(i)
                   .arg(QString(id).remove(QChar(0)));
      else if (first.contains(id))
        out << QStringLiteral("%1, Fahrzeug %2: Kennung %3 schon bei Fahrzeug %4; wird nie "
                              "gefunden")
                   .arg(source->file)
                   .arg(i)
                   .arg(id)
                   .arg(first.value(id));
      else
        first.insert(id, i);
    }
  }
  if (const auto* source = sourceOf(report, QStringLiteral("Melder"))) {
    QHash<QString, int> first;
    for (int i = 1; i <= source->result; ++i) {
      const QString code = tables.fiveTones.at(i).code.text();
      if (first.contains(code))
        out << QStringLiteral("%1, 5Ton-Melder %2: Code %3 schon bei Melder %4; wird nie gefunden")
                   .arg(source->file)
                   .arg(i)
                   .arg(code)
                   .arg(first.value(code));
      else
        first.insert(code, i);
    }
  }
  QHash<QPair<int, int>, int> firstPager;
  for (int i = 1; i <= tables.pocsag.upperBound(); ++i) {
    const PocsagRecord& record = tables.pocsag.at(i);
    if (record.ric == 0 && record.subAddress == 0)
      continue; // empty
    const QPair<int, int> key(record.ric, record.subAddress);
    if (firstPager.contains(key))
      out << QStringLiteral("DME %1: RIC %2 Unteradresse %3 schon bei DME %4; wird nie gefunden")
                 .arg(i)
                 .arg(record.ric)
                 .arg(record.subAddress)
                 .arg(firstPager.value(key));
    else
      firstPager.insert(key, i);
  }
}

bool wasRead(const ReferenceDataReport& report, const QString& file) {
  for (const auto& entry : report.entries)
    if (entry.file == file)
      return true;
  return false;
}

} // namespace

int RunReferenceDataCheck(const QDir& dir, QTextStream& out) {
  const ReferenceFiles files(dir);
  Options options;
  EventLog log; // off
  CollectingBoxes boxes;
  CollectingDiagnostics diagnostics;
  const LoaderEnvironment env(files, options, boxes, log, {}, &diagnostics);

  auto places = std::make_unique<PlaceTable>(); // 9501 rows: too big for the stack
  ReplacementTable replacements;
  UserListsLoader userLists(options, {}, &diagnostics);
  const PlaceFileLoaders placeLoaders{
      [&](const QString& path) { return userLists.LoadPlaces(*places, path); },
      [&](const QString& path) { return userLists.LoadReplacements(replacements, path); }};

  ReferenceTables tables;
  StatusTables status;
  ReferenceDataReport report;
  QString failure;
  try {
    LoadReferenceData(env, tables, status, placeLoaders, &report);
  } catch (const Failure& error) {
    failure = error.description();
  }

  out << "Datenverzeichnis: " << QDir::toNativeSeparators(dir.absolutePath()) << "\n\n";
  out << "Geladen, in der Reihenfolge des Programmstarts:\n";
  for (const auto& entry : report.entries) {
    QString result;
    if (!entry.completed)
      result = QStringLiteral("FEHLER");
    else if (!entry.present)
      result = QStringLiteral("fehlt");
    else
      result = QString::number(entry.result);
    out << "  " << entry.table.leftJustified(12) << ' ' << entry.file.leftJustified(30) << ' '
        << result << '\n';
  }

  // Lists the other product would have given; checked on scratch tables so their faults show too.
  QStringList unread;
  ReferenceTables scratch;
  StatusTables scratchStatus;
  const struct {
    const char* file;
    std::function<std::int16_t()> load;
  } sideChecks[] = {
      {"Settings\\BOSList.wbr",
       [&] { return LoadWallbrandStatusTexts(env, "Settings\\BOSList.wbr", scratchStatus); }},
      {"Settings\\ClientList.wbr",
       [&] {
         return LoadWallbrandClientList(env, "Settings\\ClientList.wbr", scratch.followUpPlaces,
                                        scratchStatus);
       }},
      {"Settings\\Fahrzeugmelder.wbr",
       [&] {
         return LoadWallbrandVehicles(env, "Settings\\Fahrzeugmelder.wbr", scratch.vehicles);
       }},
      {"Settings\\FahrzeugMelder.wbr",
       [&] {
         return LoadWallbrandReceivers(env, "Settings\\FahrzeugMelder.wbr", scratch.fiveTones,
                                       scratch.pocsag);
       }},
  };
  if (failure.isEmpty()) {
    for (const auto& check : sideChecks) {
      const QString file = QString::fromLatin1(check.file);
      if (wasRead(report, file) || !files.find(file))
        continue;
      try {
        unread << QStringLiteral("%1 %2").arg(file.leftJustified(30)).arg(check.load());
      } catch (const Failure& error) {
        unread << QStringLiteral("%1 würde den Start abbrechen: %2").arg(file, error.description());
      }
    }
  }
  if (!unread.isEmpty()) {
    out << "\nVorhanden, aber beim Start nicht gelesen (geprüft):\n";
    for (const QString& line : unread)
      out << "  " << line << '\n';
  }

  if (!boxes.lines.isEmpty()) {
    out << "\nMeldungsfenster beim Start:\n";
    for (const QString& line : boxes.lines)
      out << "  " << line << '\n';
  }
  out << "\nÜbersprungen oder abgeschnitten:";
  if (diagnostics.lines.isEmpty())
    out << " nichts\n";
  else
    out << '\n';
  for (const QString& line : diagnostics.lines)
    out << "  " << line << '\n';

  QStringList duplicates;
  findDuplicates(tables, report, duplicates);
  out << "\nDoppelte Schlüssel:";
  out << (duplicates.isEmpty() ? " keine\n" : "\n");
  for (const QString& line : duplicates)
    out << "  " << line << '\n';

  if (!failure.isEmpty()) {
    QString where;
    for (const auto& entry : report.entries)
      if (!entry.completed)
        where = entry.file;
    out << "\nDer Start bricht beim Laden von " << where << " ab: " << failure << '\n';
    out.flush();
    return 1;
  }
  out << "\nDer Start lädt diese Daten ohne Abbruch.\n";
  out.flush();
  return 0;
}

} // namespace meldlux
