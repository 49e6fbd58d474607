// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/status_history_query.h"

#include "journal/journal_connection.h"
#include "journal/journal_entry.h"
#include "journal/journal_schema.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace meldlux {

QString readStatusHistory(const QString& path, OleDate windowStart,
                          const std::function<void(const JournalledStatus&)>& each) {
  if (!QFileInfo::exists(path))
    return {};
  JournalConnection connection(path);
  if (!connection.error().isEmpty())
    return connection.error();
  QSqlQuery q(connection.db());
  q.setForwardOnly(true);
  // The window's rows come by the arrival index, in its order ("+kind" keeps the planner from
  // walking all of a year's statuses through the kind index instead). Before the window, the senders are walked one
  // by one through the sender index (each step a seek to the next identifier), and each one's
  // last row before the window is one more seek: a year of history costs what a day does.
  // %1 is the table, %2 to %6 its columns id, identifier, status, arrival and kind, each named
  // once in the schema.
  q.prepare(QStringLiteral("WITH RECURSIVE senders(x) AS ("
                           " SELECT (SELECT min(%3) FROM %1 WHERE %6 = :k1)"
                           " UNION ALL"
                           " SELECT (SELECT min(%3) FROM %1 WHERE %6 = :k2 AND %3 > x)"
                           " FROM senders WHERE x IS NOT NULL) "
                           "SELECT %2, %3, %4, %5 FROM %1 WHERE %2 IN ("
                           " SELECT (SELECT %2 FROM %1 WHERE %6 = :k3 AND %3 = x AND %5 < :f1"
                           "  ORDER BY %5 DESC, %2 DESC LIMIT 1) FROM senders WHERE x IS NOT NULL) "
                           "UNION ALL "
                           "SELECT %2, %3, %4, %5 FROM %1 WHERE %5 >= :f2 AND +%6 = :k4 "
                           "ORDER BY %5, %2")
                .arg(QLatin1String(JournalSchema::kTable), QLatin1String(JournalSchema::kId),
                     QLatin1String(JournalSchema::kIdentifier),
                     QLatin1String(JournalSchema::kStatus), QLatin1String(JournalSchema::kArrival),
                     QLatin1String(JournalSchema::kKind)));
  for (const char* k : {":k1", ":k2", ":k3", ":k4"})
    q.bindValue(QString::fromLatin1(k), int(JournalKind::FmsVehicle));
  q.bindValue(QStringLiteral(":f1"), windowStart);
  q.bindValue(QStringLiteral(":f2"), windowStart);
  if (!q.exec())
    return q.lastError().text();
  const QSqlRecord columns = q.record();
  const int identifier = columns.indexOf(QLatin1String(JournalSchema::kIdentifier));
  const int status = columns.indexOf(QLatin1String(JournalSchema::kStatus));
  const int arrival = columns.indexOf(QLatin1String(JournalSchema::kArrival));
  JournalledStatus row;
  while (q.next()) {
    row.identifier = q.value(identifier).toString();
    row.status = q.value(status).toInt();
    row.arrival = q.value(arrival).toDouble();
    each(row);
  }
  return q.lastError().type() == QSqlError::NoError ? QString() : q.lastError().text();
}

} // namespace meldlux
