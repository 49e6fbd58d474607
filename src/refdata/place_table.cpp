// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/place_table.h"

#include "base/failure.h"

#include <utility>
#include <vector>

namespace meldlux {

void PlaceTable::checkRow(int index) const {
  if (index < 0 || index > kLastRow)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(index));
}

const PlaceTable::Row& PlaceTable::row(int index) const {
  checkRow(index);
  return rows_[std::size_t(index)];
}

void PlaceTable::setRow(int index, const QString& key, const QString& value) {
  checkRow(index);
  rows_[std::size_t(index)] = Row{key, value};
  indexValid_ = false;
}

void PlaceTable::clear() {
  for (Row& r : rows_)
    r = Row{};
  indexValid_ = false;
}

void PlaceTable::SortPlaces(int low, int high) {
  checkRow(low);
  checkRow(high);
  indexValid_ = false;
  // The two partitions of one step are disjoint, so sorting them in any order gives the same
  // rows as the recursive form; only the depth of the bookkeeping changes.
  std::vector<std::pair<int, int>> pending;
  pending.emplace_back(low, high);
  while (!pending.empty()) {
    const auto [lo, hi] = pending.back();
    pending.pop_back();
    int i = lo;
    int j = hi;
    const QString pivot = rows_[std::size_t((lo + hi) / 2)].key;
    do {
      while (i < hi && rows_[std::size_t(i)].key < pivot)
        ++i;
      while (j > lo && pivot < rows_[std::size_t(j)].key)
        --j;
      if (i > j)
        break;
      std::swap(rows_[std::size_t(i)], rows_[std::size_t(j)]);
      ++i;
      --j;
    } while (i <= j);
    if (i < hi)
      pending.emplace_back(i, hi);
    if (lo < j)
      pending.emplace_back(lo, j);
  }
}

void PlaceTable::buildIndex() const {
  firstRowOfKey_.clear();
  firstEmptyRow_ = kRows;
  for (int k = 0; k < kRows; ++k) {
    if (rows_[std::size_t(k)].key.isEmpty()) {
      firstEmptyRow_ = k;
      break;
    }
  }
  // Backwards, so that the first row of a repeated key is the one that stays.
  for (int k = firstEmptyRow_ - 1; k >= 0; --k)
    firstRowOfKey_.insert(rows_[std::size_t(k)].key, k);
  indexValid_ = true;
}

QString PlaceTable::LookupPlace(QStringView key) const {
  if (!indexValid_)
    buildIndex();
  const auto it = firstRowOfKey_.constFind(key.toString());
  if (it == firstRowOfKey_.constEnd())
    return {};
  return rows_[std::size_t(it.value())].value;
}

} // namespace meldlux
