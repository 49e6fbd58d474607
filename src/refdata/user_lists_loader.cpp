// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/user_lists_loader.h"

#include "refdata/list_file.h"
#include "refdata/load_diagnostics.h"
#include "refdata/place_table.h"
#include "refdata/replacements.h"
#include "state/options.h"

#include <QFileInfo>
#include <optional>

namespace meldlux {

namespace {

constexpr int kPlaceCap = 9500;
constexpr int kReplacementCap = 500;
constexpr qsizetype kPlaceKeyLength = 21;

} // namespace

UserListsLoader::UserListsLoader(const Options& options, LoaderNotice notice,
                                 LoadDiagnostics* diagnostics)
    : options_(options), notice_(std::move(notice)), diagnostics_(diagnostics) {}

void UserListsLoader::skipped(const QString& fileName, qint64 lineNumber, const QString& reason) {
  if (diagnostics_)
    diagnostics_->skipped(QFileInfo(fileName).fileName(), LoadDiagnostics::Unit::Line, lineNumber,
                          reason);
}

void UserListsLoader::notify(const QString& text) {
  if (options_.checked(Check::chkMsgAktiv) && notice_)
    notice_(text);
}

std::int16_t UserListsLoader::LoadPlaces(PlaceTable& table, const QString& fileName) {
  table.clear();
  table.PlaceCount = 0;
  int n = 0;
  qint64 lineNumber = 0;
  const bool found = ListFile::forEachLine(fileName, [&](QString& line) {
    ++lineNumber;
    if (line.startsWith(u'*'))
      line.remove(0, 1);
    if (!line.startsWith(u"&TRN") || line.indexOf(u';') != kPlaceKeyLength) {
      if (!line.isEmpty())
        skipped(fileName, lineNumber,
                QStringLiteral("kein \"&TRN\"-Schlüssel mit \";\" an Stelle 22"));
      return;
    }
    table.setRow(n, line.left(kPlaceKeyLength), line.mid(kPlaceKeyLength + 1));
    if (++n > kPlaceCap)
      n = kPlaceCap;
  });
  if (!found)
    return 0;
  if (n >= 2)
    table.SortPlaces(0, n - 1);
  table.PlaceCount = std::int16_t(n);

  notify(QString::number(n) + QStringLiteral(" Orte geladen."));
  return std::int16_t(n);
}

std::int16_t UserListsLoader::LoadReplacements(ReplacementTable& table, const QString& fileName) {
  for (auto& pair : table.rows)
    pair = ReplacementTable::Pair{};
  int n = 0;
  qint64 lineNumber = 0;
  std::optional<QString> separator; // the first line
  const bool found = ListFile::forEachLine(fileName, [&](QString& line) {
    if (++lineNumber == 1) {
      separator = line;
      return;
    }
    // An empty separator is found at the very start, like one in the first position: skipped.
    const qsizetype p = line.indexOf(*separator);
    if (p <= 0) {
      skipped(fileName, lineNumber,
              separator->isEmpty() ? QStringLiteral("die erste Zeile (Trennzeichen) ist leer")
              : p == 0             ? QStringLiteral("beginnt mit dem Trennzeichen")
                                   : QStringLiteral("Trennzeichen fehlt"));
      return;
    }
    table.rows[std::size_t(n)] = {line.left(p), line.mid(p + separator->size())};
    if (++n > kReplacementCap)
      n = kReplacementCap;
    table.ReplacementCount = std::int16_t(n);
  });
  if (!found)
    return 0;

  // The notice itself already passes through the pairs just loaded.
  notify(QString::number(n) + QStringLiteral(" Ersetzungen geladen."));
  table.ReplacementCount = std::int16_t(n);
  return std::int16_t(n);
}

} // namespace meldlux
