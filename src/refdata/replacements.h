// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/replacement_index.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

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
  // Follows the rows by itself; see ReplacementIndex.
  std::shared_ptr<ReplacementIndex> index = std::make_shared<ReplacementIndex>();
};

// Longest text the pairs may produce. Pairs that grow a text (A -> AA, applied by several
// rows) could otherwise double it 500 times over; a message line never needs more than this.
constexpr qsizetype kMaxReplacedLength = 65536;

// Each pair i from 0 to ReplacementCount - 1 replaces every occurrence of its find text
// (case-sensitive, scanning from the start, inserted text not scanned again) in the result of the
// pairs before it. A result longer than kMaxReplacedLength (or than the text given, if that was
// longer already) is cut there: the line still shows, and its sound has played already.
QString ApplyReplacements(const ReplacementTable& table, QString text);

} // namespace meldlux
