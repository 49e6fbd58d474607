// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/colour.h"

#include <QString>
#include <array>

namespace meldlux {

// The three built-in tables that give FMS telegrams their words and colours. Filled at start-up
// (defaults, the first server product's keys, the program's own colour settings), overwritten in
// part by the reference-data loaders, and only read afterwards.
struct StatusTables {
  static constexpr int kStatuses = 19;      // 0-15 FMS, then the three below
  static constexpr int kZvei = 16;          // the colour of ZVEI lines
  static constexpr int kPocsag = 17;        // the colour of POCSAG lines
  static constexpr int kInformation = 18;   // the colour of information lines (always white)
  static constexpr int kOrganisations = 16; // the BOS digit of an FMS identifier
  static constexpr int kDirections = 2;     // 0 sent by a vehicle, 1 sent by the control centre

  std::array<Colour, kStatuses> colours{};
  std::array<std::array<std::array<QString, kDirections>, kOrganisations>, kStatuses> texts;
  std::array<QString, kOrganisations> orgCodes;

  // Bounds-checked access: an index outside a table throws Failure.
  Colour& colour(int status);
  QString& text(int status, int organisation, int direction);
  QString& orgCode(int organisation);
};

} // namespace meldlux
