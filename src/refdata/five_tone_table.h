// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/fixed_text.h"

#include <QStringView>
#include <cstdint>
#include <string>
#include <unordered_map>
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
  void rebuildIndex() const;
  std::vector<FiveToneRecord> records_;
  // Code -> first index from 1 holding it. Codes change only while loading, so the index is
  // rebuilt on the first lookup after a change instead of scanning 2500 records per alarm.
  mutable std::unordered_map<std::u16string, int> index_;
  mutable bool indexValid_ = false;
};

} // namespace meldlux
