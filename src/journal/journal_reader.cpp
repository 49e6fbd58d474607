// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_reader.h"

#include "journal/journal_schema.h"
#include "journal/journal_search.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace meldlux {

namespace {

const QString kColumns = QStringLiteral("id, ") + QLatin1String(JournalSchema::kEntryColumns);

struct Where {
  QString sql;
  QVariantList values;
};

// Rows between the two ids, both left out; 0 leaves that side open.
Where whereOf(const JournalFilter& filter, std::int64_t beforeId, std::int64_t afterId = 0) {
  QStringList parts;
  Where w;
  if (!filter.kinds.isEmpty()) {
    QStringList marks;
    for (JournalKind kind : filter.kinds) {
      marks << QStringLiteral("?");
      w.values << int(kind);
    }
    parts << QStringLiteral("kind IN (") + marks.join(u',') + u')';
  }
  if (!filter.text.isEmpty()) {
    // Our own function rather than LIKE: it folds umlauts, and the user's % and _ are plain
    // characters there.
    parts << QStringLiteral("meldlux_contains(?, name, identifier, message, line)");
    w.values << JournalSearch::fold(filter.text);
  }
  if (filter.shownOnly)
    parts << QStringLiteral("mark = 0");
  if (filter.from != 0) {
    parts << QStringLiteral("arrival >= ?");
    w.values << filter.from;
  }
  if (filter.until != 0) {
    parts << QStringLiteral("arrival < ?");
    w.values << filter.until;
  }
  if (beforeId > 0) {
    parts << QStringLiteral("id < ?");
    w.values << qint64(beforeId);
  }
  if (afterId > 0) {
    parts << QStringLiteral("id > ?");
    w.values << qint64(afterId);
  }
  if (!parts.isEmpty())
    w.sql = QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
  return w;
}

JournalEntry entryOf(const QSqlQuery& q) {
  JournalEntry e;
  e.id = q.value(0).toLongLong();
  e.arrival = q.value(1).toDouble();
  e.telegramTime = q.value(2).toDouble();
  e.kind = JournalKind(q.value(3).toInt());
  e.identifier = q.value(4).toString();
  e.name = q.value(5).toString();
  e.status = q.value(6).toInt();
  e.direction = JournalDirection(q.value(7).toInt());
  e.message = q.value(8).toString();
  e.line = q.value(9).toString();
  e.colour = Colour(q.value(10).toLongLong());
  e.mark = JournalMark(q.value(11).toInt());
  return e;
}

// Runs the statement with the filter's values bound; keeps the driver's text in error when it
// fails. A later success leaves it there: the rows that one missed are still missing.
bool run(QSqlQuery& q, const QString& sql, const Where& w, QString& error) {
  q.prepare(sql);
  for (const QVariant& v : w.values)
    q.addBindValue(v);
  if (!q.exec()) {
    error = q.lastError().text();
    return false;
  }
  return true;
}

} // namespace

JournalReader::JournalReader(const QString& path) : connection_(path) {
  if (connection_.error().isEmpty())
    lastError_ = JournalSearch::install(connection_.db()); // a text search fails without it
}

QString JournalReader::takeLastError() { return std::exchange(lastError_, QString()); }

std::vector<JournalEntry> JournalReader::page(const JournalFilter& filter, int limit,
                                              std::int64_t beforeId) {
  return between(filter, limit, beforeId, 0);
}

std::vector<JournalEntry> JournalReader::newer(const JournalFilter& filter, int limit,
                                               std::int64_t afterId) {
  return between(filter, limit, 0, afterId);
}

std::vector<JournalEntry> JournalReader::between(const JournalFilter& filter, int limit,
                                                 std::int64_t beforeId, std::int64_t afterId,
                                                 bool oldestFirst) {
  std::vector<JournalEntry> out;
  if (!error().isEmpty() || limit <= 0)
    return out;
  const Where w = whereOf(filter, beforeId, afterId);
  QSqlQuery q(connection_.db());
  q.setForwardOnly(true);
  if (!run(q,
           QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM telegrams") + w.sql +
               (oldestFirst ? QStringLiteral(" ORDER BY id LIMIT ")
                            : QStringLiteral(" ORDER BY id DESC LIMIT ")) +
               QString::number(limit),
           w, lastError_))
    return out;
  out.reserve(std::size_t(limit));
  while (q.next())
    out.push_back(entryOf(q));
  return out;
}

std::pair<std::int64_t, std::int64_t> JournalReader::idRange() {
  if (!error().isEmpty())
    return {0, 0};
  QSqlQuery q(connection_.db());
  // Each on its own: SQLite reads min() or max() from the end of the table only when it stands
  // alone, and scans every row for the two together.
  if (!run(q, QStringLiteral("SELECT (SELECT min(id) FROM telegrams), (SELECT max(id) FROM telegrams)"),
           {}, lastError_))
    return {0, 0};
  if (!q.next()) {
    lastError_ = q.lastError().text();
    return {0, 0};
  }
  return {q.value(0).toLongLong(), q.value(1).toLongLong()};
}

std::int64_t JournalReader::count(const JournalFilter& filter) {
  if (!error().isEmpty())
    return 0;
  const Where w = whereOf(filter, 0);
  QSqlQuery q(connection_.db());
  if (!run(q, QStringLiteral("SELECT count(*) FROM telegrams") + w.sql, w, lastError_))
    return 0;
  if (!q.next()) {
    lastError_ = q.lastError().text();
    return 0;
  }
  return q.value(0).toLongLong();
}

bool JournalReader::forEach(const JournalFilter& filter,
                            const std::function<bool(const JournalEntry&)>& each) {
  if (!error().isEmpty())
    return false;
  const Where w = whereOf(filter, 0);
  QSqlQuery q(connection_.db());
  q.setForwardOnly(true);
  if (!run(q,
           QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM telegrams") + w.sql +
               QStringLiteral(" ORDER BY id"),
           w, lastError_))
    return false;
  while (q.next())
    if (!each(entryOf(q)))
      break;
  return true;
}

std::map<std::pair<QDate, JournalKind>, std::int64_t>
JournalReader::perDayAndKind(const JournalFilter& filter) {
  std::map<std::pair<QDate, JournalKind>, std::int64_t> out;
  if (!error().isEmpty())
    return out;
  const Where w = whereOf(filter, 0);
  QSqlQuery q(connection_.db());
  if (!run(q, QStringLiteral("SELECT CAST(arrival AS INTEGER), kind, count(*) FROM telegrams") +
                 w.sql + QStringLiteral(" GROUP BY 1, 2"),
           w, lastError_))
    return out;
  const QDate epoch(1899, 12, 30);
  while (q.next())
    out[{epoch.addDays(q.value(0).toLongLong()), JournalKind(q.value(1).toInt())}] =
        q.value(2).toLongLong();
  return out;
}

} // namespace meldlux
