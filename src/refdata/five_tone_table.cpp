// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/five_tone_table.h"

#include "base/failure.h"
#include "base/table_index.h"

namespace meldlux {

std::size_t FiveToneTable::checked(int index) const {
  return checkedIndex(index, std::size_t(kUpperBound) + 1);
}

const FiveToneRecord& FiveToneTable::at(int index) const { return records_[checked(index)]; }

void FiveToneTable::set(int index, const FiveToneRecord& record) {
  records_[checked(index)] = record;
  indexValid_ = false;
}

void FiveToneTable::clear() {
  records_.assign(kUpperBound + 1, FiveToneRecord{});
  indexValid_ = false;
}

void FiveToneTable::rebuildIndex() const {
  index_.clear();
  for (int i = 1; i <= kUpperBound; ++i) {
    const QStringView code = records_[std::size_t(i)].code.view();
    index_.try_emplace(std::u16string(code.utf16(), std::size_t(code.size())), i); // the first
  }
  indexValid_ = true;
}

std::int16_t FiveToneTable::FindFiveTone(QStringView code) const {
  if (code.size() != FixedText<5>::kWidth)
    return 0;
  if (!indexValid_)
    rebuildIndex();
  const auto found = index_.find(std::u16string(code.utf16(), std::size_t(code.size())));
  return found == index_.end() ? 0 : std::int16_t(found->second);
}

} // namespace meldlux
