// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/replacement_index.h"

#include "refdata/replacements.h"

#include <algorithm>
#include <bitset>

namespace meldlux {

bool ReplacementIndex::current(const ReplacementTable& table) const {
  const int count = std::clamp<int>(table.ReplacementCount, 0, ReplacementTable::kRows);
  if (std::size_t(count) != finds_.size())
    return false;
  for (int i = 0; i < count; ++i) {
    const QString& find = table.rows[std::size_t(i)].find;
    const QString& kept = finds_[std::size_t(i)];
    if (find.size() != kept.size() || find.constData() != kept.constData())
      return false;
  }
  return true;
}

void ReplacementIndex::follow(const ReplacementTable& table) {
  if (current(table))
    return;
  const int count = std::clamp<int>(table.ReplacementCount, 0, ReplacementTable::kRows);
  finds_.clear();
  for (auto& bucket : singles_)
    bucket.clear();
  for (auto& bucket : doubles_)
    bucket.clear();
  for (int i = 0; i < count; ++i) {
    const QString& find = table.rows[std::size_t(i)].find;
    finds_.push_back(find);
    if (find.size() == 1)
      singles_[fold(find[0])].push_back(std::int16_t(i));
    else if (find.size() > 1)
      doubles_[fold(find[0], find[1])].push_back(std::int16_t(i));
  }
}

void ReplacementIndex::take(const std::vector<std::int16_t>& bucket, int from) {
  for (const std::int16_t row : bucket)
    if (row >= from)
      candidates_.push_back(row);
}

const std::vector<int>& ReplacementIndex::candidates(const QString& text, int from) {
  candidates_.clear();
  // Each bucket once: a text made of one letter repeated must not take its bucket per letter.
  std::bitset<256> singlesSeen;
  std::bitset<4096> doublesSeen;
  for (qsizetype k = 0; k < text.size(); ++k) {
    const std::size_t single = fold(text[k]);
    if (!singlesSeen.test(single)) {
      singlesSeen.set(single);
      take(singles_[single], from);
    }
    if (k + 1 < text.size()) {
      const std::size_t pair = fold(text[k], text[k + 1]);
      if (!doublesSeen.test(pair)) {
        doublesSeen.set(pair);
        take(doubles_[pair], from);
      }
    }
  }
  // Every row sits in one bucket only, so the rows are distinct; the table's order is restored.
  std::sort(candidates_.begin(), candidates_.end());
  return candidates_;
}

} // namespace meldlux
