#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace meldlux {

// The pairs of "Ersetzen.txt": every text that enters the message list has each pair's find
// text replaced by its replacement text, in table order.
struct ReplacementTable {
  static constexpr int kRows = 501;
  struct Pair {
    QString find;
    QString replacement;
  };
  std::array<Pair, kRows> rows;
  std::int16_t ReplacementCount = 0;
};

// Each pair i from 0 to ReplacementCount - 1 replaces every occurrence of its find text
// (case-sensitive) in the result of the pairs before it.
QString ApplyReplacements(const ReplacementTable& table, QString text);

} // namespace meldlux
