// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace meldlux::signal {

// One POCSAG page as the bits on air: preamble, then batches of sync and 16 codewords.
struct PocsagPage {
  std::uint32_t ric = 0; // 21 bits
  int function = 0;      // 0-3
  bool numeric = false;
  QString text; // alpha text in Unicode; umlauts are sent through the German 7-bit set
};

// The codeword of 21 data bits (flag and 20): BCH(31,21) check bits and even parity appended.
std::uint32_t pocsagCodeword(std::uint32_t data21);

// The bits of a whole transmission, most significant bit of each codeword first. Throws
// std::invalid_argument for a RIC, function or character it cannot send.
std::vector<bool> pocsagBits(const PocsagPage& page);

} // namespace meldlux::signal
