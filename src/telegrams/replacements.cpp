#include "telegrams/replacements.h"

#include <algorithm>

namespace meldlux {

QString ApplyReplacements(const ReplacementTable& table, QString text) {
  const int count = std::min<int>(table.ReplacementCount, ReplacementTable::kRows);
  for (int i = 0; i < count; ++i) {
    const auto& pair = table.rows[std::size_t(i)];
    if (!pair.find.isEmpty())
      text.replace(pair.find, pair.replacement, Qt::CaseSensitive);
  }
  return text;
}

} // namespace meldlux
