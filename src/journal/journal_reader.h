// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_connection.h"
#include "journal/journal_entry.h"

#include <QDate>
#include <QList>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace meldlux {

// Which rows a reader gives: every field left empty lets everything through.
struct JournalFilter {
  QList<JournalKind> kinds;
  QString text;   // found anywhere in name, identifier, message or line, case ignored (umlauts too)
  OleDate from = 0; // arrival at or after
  OleDate until = 0; // arrival before
  bool shownOnly = false; // no repeats and filtered telegrams
};

// Reads one journal file, newest first, a page at a time: a history window with a million rows
// never holds more than what it shows.
class JournalReader {
public:
  explicit JournalReader(const QString& path);

  const QString& error() const { return connection_.error(); }

  // Up to `limit` rows older than the row `beforeId` (0: from the newest), newest first. Keyset
  // paging, so the thousandth page costs what the first does.
  std::vector<JournalEntry> page(const JournalFilter& filter, int limit,
                                 std::int64_t beforeId = 0);
  // Up to `limit` rows newer than the row `afterId`, newest first: what came since a page was read.
  std::vector<JournalEntry> newer(const JournalFilter& filter, int limit, std::int64_t afterId);
  // Up to `limit` rows between the two ids, both left out (0 leaves that side open), newest
  // first unless `oldestFirst`: a slice of the file, so that a rare needle need not be looked for
  // in all of it at once.
  std::vector<JournalEntry> between(const JournalFilter& filter, int limit, std::int64_t beforeId,
                                    std::int64_t afterId, bool oldestFirst = false);
  // The oldest and the newest id in the file, {0, 0} when it holds none.
  std::pair<std::int64_t, std::int64_t> idRange();
  std::int64_t count(const JournalFilter& filter);
  // Every row the filter lets through, oldest first; `each` returns false to stop.
  bool forEach(const JournalFilter& filter, const std::function<bool(const JournalEntry&)>& each);
  // Rows per day of arrival and kind.
  std::map<std::pair<QDate, JournalKind>, std::int64_t> perDayAndKind(const JournalFilter& filter);

  // The last failure of a read, empty when there was none; kept until taken, whatever ran since.
  const QString& lastError() const { return lastError_; }
  QString takeLastError();

private:
  JournalConnection connection_;
  QString lastError_;
};

} // namespace meldlux
