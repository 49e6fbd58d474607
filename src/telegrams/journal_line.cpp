// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/journal_line.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "journal/journal_sink.h"
#include "state/options.h"
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

void journalUnshown(HandlerContext& c, JournalEntry entry, JournalMark mark, OleDate time,
                    const QString& line, Colour colour) {
  if (!c.options.checked(Check::chkMsgAktiv))
    return;
  entry.mark = mark;
  journalLine(c, std::move(entry), time, line, colour);
}

QString fmsLine(const QString& name, int status, const QString& statusText, const QString& text) {
  const QString trimmed = trimSpaces(text);
  if (status == 10)
    return name + QStringLiteral(" 10 ") + trimmed;
  QString line = name + u' ' + formatRightAligned2(std::int16_t(status)) + u' ' + statusText;
  if (!trimmed.isEmpty())
    line += QStringLiteral(" [") + trimmed + u']';
  return line;
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
