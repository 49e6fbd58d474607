// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/fixed_text.h"

#include <QByteArray>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace meldlux {

struct PocsagRecord {
  std::int32_t ric = 0;
  std::int32_t subAddress = 0; // 1..4 for the functions A..D
  FixedText<50> name;
  // The rest of a "POCSAG.DAT" record (offset 58 on), carried along unread; empty means
  // zero-filled.
  QByteArray further;
};

// Pager receivers by RIC and sub-address; indices 0 to 50, all empty, until a loader sizes it.
class PocsagTable {
public:
  static constexpr int kInitialUpperBound = 50;

  PocsagTable() { resize(kInitialUpperBound); }

  int upperBound() const { return int(records_.size()) - 1; }
  // Records that fit are kept, new ones are zero-filled.
  void resize(int upperBound);

  // Bounds-checked: an index outside the table throws Failure.
  const PocsagRecord& at(int index) const;
  void set(int index, const PocsagRecord& record);

  // R := the leading-number value of the RIC text, not rounded. The first record with RIC R and
  // the given sub-address; else the last record with RIC R; else 0.
  std::int16_t FindPocsag(QStringView ric, std::int16_t subAddress) const;

private:
  std::size_t checked(int index) const;
  std::vector<PocsagRecord> records_;
};

} // namespace meldlux
