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
}

void FiveToneTable::clear() { records_.assign(kUpperBound + 1, FiveToneRecord{}); }

std::int16_t FiveToneTable::FindFiveTone(QStringView code) const {
  if (code.size() != FixedText<5>::kWidth)
    return 0;
  for (int i = 1; i <= kUpperBound; ++i)
    if (records_[std::size_t(i)].code.equals(code))
      return std::int16_t(i);
  return 0;
}

} // namespace meldlux
