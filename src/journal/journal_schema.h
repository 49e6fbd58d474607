// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QSqlDatabase;

namespace meldlux {

// The journal's tables. Times are OLE dates (local days since 1899-12-30), as the program keeps
// them everywhere; kind, status, direction and mark are the numbers of JournalEntry.
class JournalSchema {
public:
  static constexpr int kVersion = 3;
  // The table of received telegrams and the names of the columns a query of its own picks.
  static constexpr const char* kTable = "telegrams";
  static constexpr const char* kId = "id";
  static constexpr const char* kArrival = "arrival";
  static constexpr const char* kKind = "kind";
  static constexpr const char* kIdentifier = "identifier";
  static constexpr const char* kStatus = "status";
  // The columns of a JournalEntry beside its id, in the order the writer and the reader bind
  // and read them.
  static constexpr const char* kEntryColumns =
      "arrival, telegram_time, kind, identifier, name, status, direction, message, line, colour, "
      "mark";
  static constexpr int kEntryColumnCount = 11;

  // WAL, NORMAL sync (a commit survives a killed program; only a power cut may lose the last
  // ones) and the tables if they are missing. Returns an error text, empty on success. A file
  // that is not a journal of this program, or a newer one, gives an error.
  static QString apply(QSqlDatabase& db);

  // Why the file behind `db` is no journal of this program, in German words ("keine
  // SQLite-Datenbank"); empty when it is one. Reads only.
  static QString whyNoJournal(QSqlDatabase& db);

  // "ok" or what SQLite's integrity check found.
  static QString check(QSqlDatabase& db);
};

} // namespace meldlux
