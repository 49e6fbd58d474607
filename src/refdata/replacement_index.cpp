#include "refdata/replacement_index.h"

#include "refdata/replacements.h"

#include <algorithm>

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
  for (qsizetype k = 0; k < text.size(); ++k) {
    take(singles_[fold(text[k])], from);
    if (k + 1 < text.size())
      take(doubles_[fold(text[k], text[k + 1])], from);
  }
  std::sort(candidates_.begin(), candidates_.end());
  candidates_.erase(std::unique(candidates_.begin(), candidates_.end()), candidates_.end());
  return candidates_;
}

} // namespace meldlux
