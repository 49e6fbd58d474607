#pragma once

#include "base/fixed_text.h"

#include <QStringView>
#include <cstdint>
#include <vector>

namespace meldlux {

struct FiveToneRecord {
  FixedText<5> code;
  FixedText<50> name;
};

// Five-tone (ZVEI) receivers, indices 0 to 2500; loaders fill from 1 upward, 0 stays empty.
class FiveToneTable {
public:
  static constexpr int kUpperBound = 2500;

  FiveToneTable() : records_(kUpperBound + 1) {}

  // Bounds-checked: an index outside 0..2500 throws Failure.
  const FiveToneRecord& at(int index) const;
  void set(int index, const FiveToneRecord& record);
  void clear();

  // The first record from 1 to 2500 whose code equals the text in all 5 characters; 0 when none.
  std::int16_t FindFiveTone(QStringView code) const;

private:
  std::size_t checked(int index) const;
  std::vector<FiveToneRecord> records_;
};

} // namespace meldlux
