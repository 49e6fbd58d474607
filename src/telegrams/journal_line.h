// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_entry.h"

namespace meldlux {

struct HandlerContext;

// Hands a line the strip has just been given to the journal, stamped with its arrival.
void journalLine(HandlerContext& c, JournalEntry entry, OleDate time, const QString& shownLine,
                 Colour colour);

// A telegram the strip does not show (a repeat, or one the show-only list keeps off): journaled
// all the same, marked with why, while popup messages are on, as the shown lines are.
void journalUnshown(HandlerContext& c, JournalEntry entry, JournalMark mark, OleDate time,
                    const QString& line, Colour colour);

// The line an FMS telegram that the strip does not show would have had: name, status, status
// text and the telegram's own text in brackets; for a text telegram (10) name, " 10 " and text.
QString fmsLine(const QString& name, int status, const QString& statusText, const QString& text);

// The parts of an entry that tell what a telegram was, before its line is made.
JournalEntry journalTelegram(JournalKind kind, JournalDirection direction, const QString& identifier,
                             const QString& name, int status, const QString& message);

} // namespace meldlux
