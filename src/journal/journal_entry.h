// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/colour.h"
#include "base/ole_date.h"

#include <QString>
#include <cstdint>

namespace meldlux {

// What a journal row is about. The numbers are stored; never renumber them.
enum class JournalKind : std::uint8_t {
  FmsVehicle = 1,
  FmsControl = 2,
  Zvei = 3,
  Pocsag = 4,
  Text = 5, // FMS status 10 text telegrams, from either side
};

// Not a telegram: a reference file that could not be loaded whole at start, with its path as the
// identifier and why as the message. Numbered apart from the telegram kinds.
constexpr JournalKind kJournalLoadFault = JournalKind(16);
// Not a telegram either: a warning of the link's watch or of a fault of our own, or its end, with
// the kind of warning as the identifier and the line as the message.
constexpr JournalKind kJournalSupervision = JournalKind(17);

// Why a received telegram got no line on the strip; None for a line it showed. Stored numbers.
// Test: a telegram that "Testen" in the alarm rules' window made up.
enum class JournalMark : std::uint8_t { None = 0, Repeat = 1, Filtered = 2, Test = 3 };

// Who sent an FMS telegram; None for the alarm kinds.
enum class JournalDirection : std::uint8_t { None = 0, FromVehicle = 1, FromControl = 2 };

// One telegram as the strip showed it, with what it was made of.
struct JournalEntry {
  std::int64_t id = 0; // the row's number, given by the database; 0 before it is written
  OleDate arrival = 0;
  OleDate telegramTime = 0;
  JournalKind kind = JournalKind::Text;
  QString identifier;  // as received: FMS identifier, five-tone code, "RIC sub-address"
  QString name;        // from the reference data; empty for an unknown sender
  int status = -1;     // FMS status number; -1 for the alarm kinds
  JournalDirection direction = JournalDirection::None;
  QString message;     // the text that came with the telegram
  QString line;        // the line as shown
  Colour colour = 0;
  JournalMark mark = JournalMark::None;

  bool operator==(const JournalEntry&) const = default;
};

// "fms_vehicle", "fms_control", "zvei", "pocsag", "text", "load_fault", "supervision": the names
// the tool and the exports use.
QString journalKindName(JournalKind kind);
// The kind of such a name; false for any other text.
bool journalKindFromName(QStringView name, JournalKind& kind);
// "Wiederholung", "gefiltert", "Test", or empty for a shown line.
QString journalMarkText(JournalMark mark);

} // namespace meldlux
