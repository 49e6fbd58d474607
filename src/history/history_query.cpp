// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_query.h"

#include "base/clock.h"

#include <QTime>
#include <cmath>

namespace meldlux {

JournalFilter HistoryQuery::filterAt(const Clock& clock) const {
  JournalFilter f;
  if (kind)
    f.kinds = {*kind};
  f.text = text.trimmed();
  f.shownOnly = shownOnly;
  const OleDate now = clock.now();
  switch (span) {
  case HistorySpan::All:
    break;
  case HistorySpan::Today:
    f.from = std::floor(now); // an OLE date's whole part is the local day
    break;
  case HistorySpan::Last24Hours:
    f.from = now - 1.0;
    break;
  case HistorySpan::Chosen: {
    QDate first = firstDay, last = lastDay;
    if (first.isValid() && last.isValid() && last < first)
      std::swap(first, last); // a range typed backwards still means the days between
    if (first.isValid())
      f.from = toOleDate(QDateTime(first, QTime(0, 0)));
    if (last.isValid())
      f.until = toOleDate(QDateTime(last.addDays(1), QTime(0, 0)));
    break;
  }
  }
  return f;
}

} // namespace meldlux
