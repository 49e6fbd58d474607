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
  // The window's rows come by the arrival index; the last row before it per vehicle by the kind
  // index, grouped.
  q.prepare(QStringLiteral(
      "SELECT identifier, status, arrival FROM telegrams WHERE kind = :kind AND "
      "(arrival >= :from OR id IN (SELECT max(id) FROM telegrams WHERE kind = :kind2 AND "
      "arrival < :from2 GROUP BY identifier)) ORDER BY id"));
  q.bindValue(QStringLiteral(":kind"), int(JournalKind::FmsVehicle));
  q.bindValue(QStringLiteral(":kind2"), int(JournalKind::FmsVehicle));
  q.bindValue(QStringLiteral(":from"), windowStart);
  q.bindValue(QStringLiteral(":from2"), windowStart);
  if (!q.exec())
    return q.lastError().text();
  JournalledStatus row;
  while (q.next()) {
    row.identifier = q.value(0).toString();
    row.status = q.value(1).toInt();
    row.arrival = q.value(2).toDouble();
    each(row);
  }
  return q.lastError().type() == QSqlError::NoError ? QString() : q.lastError().text();
}

} // namespace meldlux
