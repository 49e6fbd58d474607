// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace meldlux {

struct ReplacementTable;

// Which pairs of a replacement table may match a text, by the first one or two characters of
// their find text, so that a line is not tried against all 500 pairs. The index keeps a shared
// copy of every find text: a row changed since (a new string, or a write that had to detach
// from the copy) is seen by comparing the copies' data, and the index is rebuilt.
class ReplacementIndex {
public:
  // Rebuilds when the table's find texts or count differ from the ones indexed.
  void follow(const ReplacementTable& table);
  // Rows from `from` on, in table order, whose find text's start occurs in the text.
  const std::vector<int>& candidates(const QString& text, int from);

  // Folded keys of one character and of two neighbouring characters.
  static std::size_t fold(QChar c) { return c.unicode() & 0xFF; }
  static std::size_t fold(QChar a, QChar b) {
    return ((std::size_t(a.unicode()) * 31u) ^ std::size_t(b.unicode())) & 0xFFF;
  }

private:
  bool current(const ReplacementTable& table) const;
  void take(const std::vector<std::int16_t>& bucket, int from);

  std::vector<QString> finds_;
  std::array<std::vector<std::int16_t>, 256> singles_;
  std::array<std::vector<std::int16_t>, 4096> doubles_;
  std::vector<int> candidates_;
};

} // namespace meldlux
