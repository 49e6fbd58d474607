// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_query.h"

#include "base/clock.h"

#include <QRegularExpression>
#include <QTime>
#include <cmath>

namespace meldlux {

JournalFilter HistoryQuery::filterAt(const Clock& clock) const {
  JournalFilter f;
  f.kinds = kinds;
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
  case HistorySpan::Chosen:
    if (firstDay.isValid())
      f.from = toOleDate(start());
    if (lastDay.isValid())
      f.until = toOleDate(end());
    break;
  }
  return f;
}

QDateTime HistoryQuery::start() const {
  return QDateTime(firstDay, firstTime.isValid() ? firstTime : QTime(0, 0));
}

QDateTime HistoryQuery::end() const {
  return lastTime.isValid() ? QDateTime(lastDay, lastTime).addSecs(60)
                            : QDateTime(lastDay.addDays(1), QTime(0, 0));
}

std::optional<TypedMoment> parseTypedMoment(const QString& text, const QDate& today) {
  static const QRegularExpression pattern(QStringLiteral(
      R"(^\s*(?:(\d{1,2})\.(\d{1,2})\.(\d{2}|\d{4})?)?\s*(?:(\d{1,2}):(\d{2}))?\s*$)"));
  const QRegularExpressionMatch m = pattern.match(text);
  if (!m.hasMatch() || text.trimmed().isEmpty())
    return std::nullopt;
  TypedMoment moment{today, {}};
  if (m.hasCaptured(1)) {
    int year = m.hasCaptured(3) ? m.captured(3).toInt() : today.year();
    if (m.captured(3).size() == 2)
      year += 2000;
    moment.day = QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
  }
  if (m.hasCaptured(4))
    moment.time = QTime(m.captured(4).toInt(), m.captured(5).toInt());
  if (!moment.day.isValid() || (m.hasCaptured(4) && !moment.time.isValid()))
    return std::nullopt;
  return moment;
}

bool HistoryQuery::backwards() const {
  return span == HistorySpan::Chosen && firstDay.isValid() && lastDay.isValid() && end() <= start();
}

} // namespace meldlux
