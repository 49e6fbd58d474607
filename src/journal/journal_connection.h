// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace meldlux {

// One SQLite connection of its own name, closed and removed with the object.
class JournalConnection {
public:
  explicit JournalConnection(const QString& path, bool readOnly = false);
  ~JournalConnection();
  JournalConnection(const JournalConnection&) = delete;
  JournalConnection& operator=(const JournalConnection&) = delete;

  // Empty when it is open; else why not.
  const QString& error() const { return error_; }
  QSqlDatabase& db() { return db_; }

private:
  QString name_;
  QSqlDatabase db_;
  QString error_;
};

} // namespace meldlux
