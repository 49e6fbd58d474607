// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"
#include "journal/journal_reader.h"

#include <QDate>
#include <QList>
#include <QTime>
#include <optional>

namespace meldlux {

class Clock;

// Which span of time the history shows.
enum class HistorySpan { All, Today, Last24Hours, Chosen };

// What the user set in the history window: the kinds (none: all), a search text, a span and, for
// a chosen span, its first and last day, from a time of day on that first day (none: its start)
// up to and including the minute of a time on the last (none: its end).
struct HistoryQuery {
  QList<JournalKind> kinds = {};
  QString text = {};
  HistorySpan span = HistorySpan::All;
  QDate firstDay = {};
  QDate lastDay = {};
  QTime firstTime = {};
  QTime lastTime = {};
  bool shownOnly = false; // without repeats and filtered telegrams

  // The journal filter at the time `clock` gives; "today" and "24 h" are taken from it.
  JournalFilter filterAt(const Clock& clock) const;
  // A chosen span that ends before it begins, which the window refuses.
  bool backwards() const;

private:
  QDateTime start() const;
  QDateTime end() const; // the first moment left out
};

// A moment as typed into the span's fields: "6.12.2026", "06.12.26", "6.12." (this year), each
// with an optional "06:00", or "06:00" alone (today). The time is invalid when none was typed;
// nothing when the text is no such moment.
struct TypedMoment {
  QDate day;
  QTime time;
};
std::optional<TypedMoment> parseTypedMoment(const QString& text, const QDate& today);

} // namespace meldlux
