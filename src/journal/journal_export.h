// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_entry.h"

#include <QByteArray>

namespace meldlux {

// A CSV a German spreadsheet opens as it is: UTF-8 with a byte-order mark, semicolons, CRLF,
// times "TT.MM.JJJJ hh:mm:ss", fields quoted when they hold a separator, a quote or a line break.
QByteArray csvHeader();
QByteArray csvRow(const JournalEntry& e);
// For people rather than programs: the kind in the caller's words, the colour as "#RRGGBB" and
// the identifier as a formula of text, so that a spreadsheet keeps a code's leading zeros.
QByteArray csvRowForSpreadsheet(const JournalEntry& e, const QString& kind);
// One JSON object per line; the times carry their offset from UTC, as the bridge's MQTT JSON.
QByteArray jsonLine(const JournalEntry& e);
// "TT.MM.JJJJ hh:mm:ss" of an OLE date.
QString germanDateTime(OleDate date);

} // namespace meldlux
