// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_entry.h"

namespace meldlux {

struct HandlerContext;

// Hands a line the strip has just been given to the journal, stamped with its arrival.
void journalLine(HandlerContext& c, JournalEntry entry, OleDate time, const QString& shownLine,
                 Colour colour);

// The parts of an entry that tell what a telegram was, before its line is made.
JournalEntry journalTelegram(JournalKind kind, JournalDirection direction, const QString& identifier,
                             const QString& name, int status, const QString& message);

} // namespace meldlux
