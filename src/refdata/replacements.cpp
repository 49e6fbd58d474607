// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/replacements.h"

#include <algorithm>

namespace meldlux {

namespace {

// Replaces every non-overlapping occurrence, left to right; false when nothing was found. A result
// that would pass the limit is cut there.
bool replaceAll(QString& text, const QString& find, const QString& replacement, qsizetype limit) {
  qsizetype pos = text.indexOf(find, 0, Qt::CaseSensitive);
  if (pos < 0)
    return false;
  QString out;
  out.reserve(std::min(limit, text.size() + 16));
  qsizetype from = 0;
  while (pos >= 0 && out.size() < limit) {
    out.append(QStringView(text).mid(from, pos - from));
    out.append(replacement);
    from = pos + find.size();
    pos = text.indexOf(find, from, Qt::CaseSensitive);
  }
  if (out.size() < limit)
    out.append(QStringView(text).mid(from));
  out.truncate(limit);
  text = std::move(out);
  return true;
}

} // namespace

QString ApplyReplacements(const ReplacementTable& table, QString text) {
  const int count = std::min<int>(table.ReplacementCount, ReplacementTable::kRows);
  if (count < 1)
    return text;
  // A received text that is already longer may keep its length, but no pair makes it grow.
  const qsizetype limit = std::max(kMaxReplacedLength, text.size());
  ReplacementIndex& index = *table.index;
  index.follow(table);
  // Only the rows whose find text can start somewhere in the text are tried; after a
  // replacement the text is new, so the rows after that one are looked up again.
  for (int from = 0;;) {
    const int next = from;
    for (const int i : index.candidates(text, from)) {
      const auto& pair = table.rows[std::size_t(i)];
      if (replaceAll(text, pair.find, pair.replacement, limit)) {
        from = i + 1;
        break;
      }
    }
    if (from == next)
      break;
  }
  return text;
}

} // namespace meldlux
