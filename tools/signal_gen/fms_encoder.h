// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

namespace meldlux::signal {

// One FMS telegram. The identifier is the 8 characters a client shows: BOS, state, place (2) and
// vehicle (4), each a hexadecimal digit (place and vehicle are BCD on air).
struct FmsFrame {
  QString identifier;
  int status = 0;         // 0-15
  bool toVehicle = false; // direction: false vehicle to control centre
  bool buildStage = true;
  int tacticalInfo = 0;   // 0-3
  int damagedBits = 0;    // bits spoilt on purpose (0-7), for tests
};

// Run-in, sync word and the 48 frame bits, in the order they go on air. Throws
// std::invalid_argument for an identifier that is not 8 hexadecimal digits or a field out of range.
std::vector<bool> fmsBits(const FmsFrame& frame);

} // namespace meldlux::signal
