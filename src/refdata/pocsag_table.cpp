// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/pocsag_table.h"

#include "base/failure.h"
#include "base/numbers.h"
#include "base/table_index.h"

namespace meldlux {

std::size_t PocsagTable::checked(int index) const {
  return checkedIndex(index, records_.size());
}

void PocsagTable::resize(int upperBound) {
  if (upperBound < 0)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(upperBound));
  records_.resize(std::size_t(upperBound) + 1);
}

const PocsagRecord& PocsagTable::at(int index) const { return records_[checked(index)]; }

void PocsagTable::set(int index, const PocsagRecord& record) { records_[checked(index)] = record; }

std::int16_t PocsagTable::FindPocsag(QStringView ric, std::int16_t subAddress) const {
  // Compared as real numbers: "1234567.5" matches nothing, "1.234567e6" matches 1234567.
  const double wanted = leadingNumber(ric);
  std::size_t lastRicMatch = 0;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (double(records_[i].ric) != wanted)
      continue;
    if (records_[i].subAddress == subAddress)
      return asIndex16(i);
    lastRicMatch = i;
  }
  return asIndex16(lastRicMatch);
}

} // namespace meldlux
