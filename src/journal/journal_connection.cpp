// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_connection.h"

#include <QSqlError>
#include <atomic>

namespace meldlux {

namespace {
std::atomic<int> counter{0};
}

JournalConnection::JournalConnection(const QString& path, bool readOnly)
    : name_(QStringLiteral("meldlux-journal-%1").arg(++counter)) {
  db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
  if (!db_.isValid()) {
    error_ = QStringLiteral("the SQLite driver of Qt is missing (libqt6sql6-sqlite)");
    return;
  }
  db_.setDatabaseName(path);
  if (readOnly)
    db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
  if (!db_.open())
    error_ = db_.lastError().text();
}

JournalConnection::~JournalConnection() {
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(name_);
}

} // namespace meldlux
