// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/status_history_query.h"

#include "journal/journal_connection.h"
#include "journal/journal_entry.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
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
  q.prepare(QStringLiteral(
      "WITH RECURSIVE senders(x) AS ("
      " SELECT (SELECT min(identifier) FROM telegrams WHERE kind = :k1)"
      " UNION ALL"
      " SELECT (SELECT min(identifier) FROM telegrams WHERE kind = :k2 AND identifier > x)"
      " FROM senders WHERE x IS NOT NULL) "
      "SELECT id, identifier, status, arrival FROM telegrams WHERE id IN ("
      " SELECT (SELECT id FROM telegrams WHERE kind = :k3 AND identifier = x AND arrival < :f1"
      "  ORDER BY arrival DESC, id DESC LIMIT 1) FROM senders WHERE x IS NOT NULL) "
      "UNION ALL "
      "SELECT id, identifier, status, arrival FROM telegrams WHERE arrival >= :f2 AND +kind = :k4 "
      "ORDER BY 4, 1"));
  for (const char* k : {":k1", ":k2", ":k3", ":k4"})
    q.bindValue(QString::fromLatin1(k), int(JournalKind::FmsVehicle));
  q.bindValue(QStringLiteral(":f1"), windowStart);
  q.bindValue(QStringLiteral(":f2"), windowStart);
  if (!q.exec())
    return q.lastError().text();
  JournalledStatus row;
  while (q.next()) {
    row.identifier = q.value(1).toString();
    row.status = q.value(2).toInt();
    row.arrival = q.value(3).toDouble();
    each(row);
  }
  return q.lastError().type() == QSqlError::NoError ? QString() : q.lastError().text();
}

} // namespace meldlux
