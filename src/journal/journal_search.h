// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QSqlDatabase;

namespace meldlux {

// The journal's free-text search. SQLite's own lower() and LIKE fold ASCII only, so "müller"
// would miss "MÜLLER"; the connection gets a function of ours that folds with Qt instead:
//   meldlux_contains(needle, text, ...) is 1 when any text holds the folded needle.
class JournalSearch {
public:
  // Adds the function to an open SQLite connection; returns an error text, empty on success.
  static QString install(QSqlDatabase& db);
  // A text as the function compares it: case folded, and "ß" as "ss", its capitals being "SS".
  static QString fold(const QString& text);
};

} // namespace meldlux
