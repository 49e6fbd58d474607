// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"
#include "journal/journal_reader.h"

#include <QDate>
#include <optional>

namespace meldlux {

class Clock;

// Which span of time the history shows.
enum class HistorySpan { All, Today, Last24Hours, Chosen };

// What the user set in the history window: a kind (none: all), a search text, a span and, for
// a chosen span, its first and last day (both whole days).
struct HistoryQuery {
  std::optional<JournalKind> kind;
  QString text;
  HistorySpan span = HistorySpan::All;
  QDate firstDay;
  QDate lastDay;
  bool shownOnly = false; // without repeats and filtered telegrams

  // The journal filter at the time `clock` gives; "today" and "24 h" are taken from it.
  JournalFilter filterAt(const Clock& clock) const;
};

} // namespace meldlux
