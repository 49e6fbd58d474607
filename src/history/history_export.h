// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_reader.h"

class QIODevice;

namespace meldlux {

// The rows a filter lets through as a CSV for German spreadsheets, newest first as the history
// shows them, read a page at a time so that a long journal needs no more memory than a page.
class HistoryExport {
public:
  // Returns an error text, empty when every row was written.
  static QString writeCsv(const QString& journalPath, const JournalFilter& filter, QIODevice& out);
};

} // namespace meldlux
