// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/load_fault_journal.h"

#include "base/clock.h"
#include "journal/journal_entry.h"
#include "journal/journal_sink.h"
#include "refdata/reference_files.h"

namespace meldlux {

void LoadFaultJournal::skipped(const QString& file, Unit unit, qint64, const QString& reason) {
  if (unit != Unit::File)
    return;
  JournalEntry entry;
  entry.arrival = entry.telegramTime = clock_.now();
  entry.kind = kJournalLoadFault;
  entry.identifier = files_.find(file).value_or(files_.directory().filePath(file));
  entry.message = reason;
  entry.line = entry.identifier + QStringLiteral(": ") + reason;
  entry.colour = 255; // red, as the link shows its failures
  journal_.record(entry);
  if (shown_)
    shown_(QStringLiteral("Stammdaten nicht geladen: ") + entry.line);
}

} // namespace meldlux
