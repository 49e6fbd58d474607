// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/failure.h"

#include <cstdint>
#include <limits>

namespace meldlux {

// Adds one to a 32-bit counter; a counter at its maximum is an overflow, like any other number
// that does not fit.
inline void incrementCounter(std::int32_t& counter) {
  if (counter == std::numeric_limits<std::int32_t>::max())
    throw Failure(QStringLiteral("Überlauf"));
  ++counter;
}

} // namespace meldlux
