// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace meldlux {

// Colours are 0x00BBGGRR, red in the lowest byte, as the settings and tables hold them.
using Colour = std::int32_t;

} // namespace meldlux
