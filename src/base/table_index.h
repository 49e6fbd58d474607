// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/failure.h"

#include <cstddef>
#include <cstdint>

namespace meldlux {

// Every table is bounds-checked: an index outside 0..size-1 is a Failure, never a stray access.
inline std::size_t checkedIndex(long long index, std::size_t size) {
  if (index < 0 || std::size_t(index) >= size)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(index));
  return std::size_t(index);
}

// A table index handed back as the 16-bit result of a lookup.
inline std::int16_t asIndex16(std::size_t index) {
  if (index > 32767)
    throw Failure(QStringLiteral("Überlauf: Index %1 passt nicht in 16 Bit").arg(index));
  return std::int16_t(index);
}

} // namespace meldlux
