// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace meldlux {

namespace {

const char* const kStatements[] = {
    "CREATE TABLE IF NOT EXISTS telegrams ("
    " id INTEGER PRIMARY KEY,"
    " arrival REAL NOT NULL,"
    " telegram_time REAL NOT NULL,"
    " kind INTEGER NOT NULL,"
    " identifier TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " status INTEGER NOT NULL,"
    " direction INTEGER NOT NULL,"
    " message TEXT NOT NULL,"
    " line TEXT NOT NULL,"
    " colour INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS telegrams_arrival ON telegrams(arrival)",
    "CREATE INDEX IF NOT EXISTS telegrams_kind ON telegrams(kind, id)",
    // Version 2: one sender's rows in time order, so the last status of each vehicle before a
    // moment is a seek per vehicle, not a scan of the whole year.
    "CREATE INDEX IF NOT EXISTS telegrams_sender ON telegrams(kind, identifier, arrival)",
};

QString run(QSqlQuery& query, const QString& sql) {
  if (query.exec(sql))
    return {};
  return sql.left(40) + QStringLiteral(": ") + query.lastError().text();
}

} // namespace

QString JournalSchema::apply(QSqlDatabase& db) {
  QSqlQuery query(db);
  // A lock held elsewhere is waited for briefly only: the writer tries again later instead.
  if (QString e = run(query, QStringLiteral("PRAGMA busy_timeout = 100")); !e.isEmpty())
    return e;
  if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
    return QStringLiteral("user_version: ") + query.lastError().text();
  const int version = query.value(0).toInt();
  if (version > kVersion)
    return QStringLiteral("journal version %1 is newer than this program's").arg(version);
  if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next())
    return QStringLiteral("journal_mode: ") + query.lastError().text();
  if (query.value(0).toString().compare(u"wal", Qt::CaseInsensitive) != 0)
    return QStringLiteral("journal_mode stays ") + query.value(0).toString();
  if (QString e = run(query, QStringLiteral("PRAGMA synchronous = NORMAL")); !e.isEmpty())
    return e;
  if (version == kVersion)
    return {};
  // Every statement holds for a new file and brings an older one up to date.
  for (const char* statement : kStatements)
    if (QString e = run(query, QString::fromLatin1(statement)); !e.isEmpty())
      return e;
  // Version 3: rows of repeats and filtered telegrams; every older row was a shown line. Looked
  // for first, as a start cut short after it was added has it already.
  if (!query.exec(QStringLiteral("SELECT mark FROM telegrams LIMIT 0")))
    if (QString e = run(query, QStringLiteral("ALTER TABLE telegrams ADD COLUMN mark INTEGER NOT "
                                              "NULL DEFAULT 0"));
        !e.isEmpty())
      return e;
  return run(query, QStringLiteral("PRAGMA user_version = %1").arg(kVersion));
}

QString JournalSchema::whyNoJournal(QSqlDatabase& db) {
  QSqlQuery query(db);
  constexpr auto kNotADatabase = "26"; // SQLITE_NOTADB
  if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                 "name = 'telegrams'")) ||
      !query.next())
    return query.lastError().nativeErrorCode() == QLatin1String(kNotADatabase)
               ? QStringLiteral("keine SQLite-Datenbank")
               : query.lastError().text();
  if (query.value(0).toInt() == 0)
    return QStringLiteral("eine Datenbank ohne die Tabelle der Telegramme");
  return {};
}

QString JournalSchema::check(QSqlDatabase& db) {
  QSqlQuery query(db);
  if (!query.exec(QStringLiteral("PRAGMA integrity_check")))
    return query.lastError().text();
  QStringList found;
  while (query.next())
    found << query.value(0).toString();
  if (found.isEmpty())
    return QStringLiteral("no answer");
  return found.join(u'\n');
}

} // namespace meldlux
