// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_reader.h"

class QIODevice;

namespace meldlux {

// The rows a filter lets through as a CSV for German spreadsheets, newest first as the history
// shows them, read a page at a time so that a long journal needs no more memory than a page.
class HistoryExport {
public:
  // Returns an error text, empty when every row was written; counts the rows in `rows`.
  static QString writeCsv(const QString& journalPath, const JournalFilter& filter, QIODevice& out,
                          std::int64_t& rows);
  // Writes them to a file that appears only whole; any thread may call it, it opens the
  // journal on a connection of its own.
  static QString toFile(const QString& journalPath, const JournalFilter& filter,
                        const QString& file, std::int64_t& rows);
};

} // namespace meldlux
