#include "refdata/replacements.h"

#include <algorithm>
#include <bitset>

namespace meldlux {

namespace {

// Which characters and pairs of neighbouring characters (folded into small bit sets) occur in a
// text: a pair whose find text starts with something absent cannot match, and most of the
// 500 pairs are passed over without a search.
class CharPresence {
public:
  explicit CharPresence(const QString& text) { update(text); }
  void update(const QString& text) {
    singles_.reset();
    doubles_.reset();
    for (qsizetype k = 0; k < text.size(); ++k) {
      singles_.set(fold(text[k]));
      if (k + 1 < text.size())
        doubles_.set(fold(text[k], text[k + 1]));
    }
  }
  bool mayContain(const QString& find) const {
    if (find.size() == 1)
      return singles_.test(fold(find[0]));
    return doubles_.test(fold(find[0], find[1]));
  }

private:
  static std::size_t fold(QChar c) { return c.unicode() & 0xFF; }
  static std::size_t fold(QChar a, QChar b) {
    return ((std::size_t(a.unicode()) * 31u) ^ std::size_t(b.unicode())) & 0xFFF;
  }
  std::bitset<256> singles_;
  std::bitset<4096> doubles_;
};

// Replaces every non-overlapping occurrence, left to right; false when nothing was found. A result
// that would pass the limit is cut there.
bool replaceAll(QString& text, const QString& find, const QString& replacement, qsizetype limit) {
  qsizetype pos = text.indexOf(find, 0, Qt::CaseSensitive);
  if (pos < 0)
    return false;
  QString out;
  out.reserve(std::min(limit, text.size() + 16));
  qsizetype from = 0;
  while (pos >= 0 && out.size() < limit) {
    out.append(QStringView(text).mid(from, pos - from));
    out.append(replacement);
    from = pos + find.size();
    pos = text.indexOf(find, from, Qt::CaseSensitive);
  }
  if (out.size() < limit)
    out.append(QStringView(text).mid(from));
  out.truncate(limit);
  text = std::move(out);
  return true;
}

} // namespace

QString ApplyReplacements(const ReplacementTable& table, QString text) {
  const int count = std::min<int>(table.ReplacementCount, ReplacementTable::kRows);
  if (count < 1)
    return text;
  // A received text that is already longer may keep its length, but no pair makes it grow.
  const qsizetype limit = std::max(kMaxReplacedLength, text.size());
  CharPresence present(text);
  for (int i = 0; i < count; ++i) {
    const auto& pair = table.rows[std::size_t(i)];
    if (pair.find.isEmpty() || !present.mayContain(pair.find))
      continue;
    if (replaceAll(text, pair.find, pair.replacement, limit))
      present.update(text);
  }
  return text;
}

} // namespace meldlux
