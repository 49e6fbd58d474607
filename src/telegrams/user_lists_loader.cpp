#include "telegrams/user_lists_loader.h"

#include "settings/options.h"
#include "telegrams/list_file.h"
#include "telegrams/place_table.h"
#include "telegrams/replacements.h"

namespace meldlux {

namespace {

constexpr int kPlaceCap = 9500;
constexpr int kReplacementCap = 500;
constexpr qsizetype kPlaceKeyLength = 21;

} // namespace

UserListsLoader::UserListsLoader(const Options& options, LoaderNotice notice)
    : options_(options), notice_(std::move(notice)) {}

void UserListsLoader::notify(const QString& text) {
  if (options_.checked(Check::chkMsgAktiv) && notice_)
    notice_(text);
}

std::int16_t UserListsLoader::LoadPlaces(PlaceTable& table, const QString& fileName) {
  table.clear();
  table.PlaceCount = 0;
  const auto lines = ListFile::read(fileName);
  if (!lines)
    return 0;

  int n = 0;
  for (QString line : *lines) {
    if (line.startsWith(u'*'))
      line.remove(0, 1);
    if (!line.startsWith(u"&TRN") || line.indexOf(u';') != kPlaceKeyLength)
      continue;
    table.setRow(n, line.left(kPlaceKeyLength), line.mid(kPlaceKeyLength + 1));
    if (++n > kPlaceCap)
      n = kPlaceCap;
  }
  if (n >= 2)
    table.SortPlaces(0, n - 1);
  table.PlaceCount = std::int16_t(n);

  notify(QString::number(n) + QStringLiteral(" Orte geladen."));
  return std::int16_t(n);
}

std::int16_t UserListsLoader::LoadReplacements(ReplacementTable& table, const QString& fileName) {
  for (auto& pair : table.rows)
    pair = ReplacementTable::Pair{};
  const auto lines = ListFile::read(fileName);
  if (!lines)
    return 0;

  int n = 0;
  if (!lines->isEmpty()) {
    const QString& separator = lines->front();
    for (qsizetype k = 1; k < lines->size(); ++k) {
      const QString& line = (*lines)[k];
      // An empty separator is found at the very start, like one in the first position: skipped.
      const qsizetype p = line.indexOf(separator);
      if (p <= 0)
        continue;
      table.rows[std::size_t(n)] = {line.left(p), line.mid(p + separator.size())};
      if (++n > kReplacementCap)
        n = kReplacementCap;
      table.ReplacementCount = std::int16_t(n);
    }
  }

  // The notice itself already passes through the pairs just loaded.
  notify(QString::number(n) + QStringLiteral(" Ersetzungen geladen."));
  table.ReplacementCount = std::int16_t(n);
  return std::int16_t(n);
}

} // namespace meldlux
