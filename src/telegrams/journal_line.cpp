// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/journal_line.h"

#include "base/clock.h"
#include "journal/journal_sink.h"
#include "telegrams/handler_context.h"

namespace meldlux {

void journalLine(HandlerContext& c, JournalEntry entry, OleDate time, const QString& shownLine,
                 Colour colour) {
  if (!c.journal)
    return;
  entry.arrival = c.clock.now();
  entry.telegramTime = time;
  entry.line = shownLine;
  entry.colour = colour;
  c.journal->record(entry);
}

JournalEntry journalTelegram(JournalKind kind, JournalDirection direction, const QString& identifier,
                             const QString& name, int status, const QString& message) {
  JournalEntry e;
  e.kind = kind;
  e.direction = direction;
  e.identifier = identifier;
  e.name = name;
  e.status = status;
  e.message = message;
  return e;
}

} // namespace meldlux
