// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstddef>
#include <limits>
#include <vector>

namespace meldlux {

// What the server sends: a heartbeat, a telegram in one of its two line formats, or something
// we do not read.
enum class LineKind { Ignored, Heartbeat, TabLine, MarkerLine };

inline constexpr QStringView kHeartbeatStart = u"#!XX!#";
inline constexpr QStringView kFieldMarker = u"#![]!#";
inline constexpr QChar kTab = u'\t';

// Exact, case-sensitive comparisons, inline: the dispatch makes several per line.
inline bool sameText(QStringView a, QStringView b) {
  if (a.size() != b.size())
    return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    if (a[i] != b[i])
      return false;
  }
  return true;
}
inline bool hasPrefix(QStringView text, QStringView prefix) {
  return text.size() >= prefix.size() && sameText(text.first(prefix.size()), prefix);
}
// Position of the first needle at or after from, -1 when there is none. The lines are short and
// the needles few characters, where a plain loop beats a general search's set-up.
inline qsizetype findText(QStringView text, QStringView needle, qsizetype from = 0) {
  if (needle.isEmpty())
    return from <= text.size() ? from : -1;
  const char16_t first = needle.front().unicode();
  const qsizetype last = text.size() - needle.size();
  const char16_t* data = reinterpret_cast<const char16_t*>(text.data());
  for (qsizetype at = from; at <= last; ++at) {
    if (data[at] == first && sameText(text.sliced(at, needle.size()), needle))
      return at;
  }
  return -1;
}
inline qsizetype findChar(QStringView text, QChar c, qsizetype from = 0) {
  const char16_t wanted = c.unicode();
  const char16_t* data = reinterpret_cast<const char16_t*>(text.data());
  for (qsizetype at = from; at < text.size(); ++at) {
    if (data[at] == wanted)
      return at;
  }
  return -1;
}
inline bool containsText(QStringView text, QStringView needle) {
  return findText(text, needle) >= 0;
}

// The same for string literals, whose length the compiler knows: a QStringView made from a
// literal searches for its terminator at run time, several times per line on the hot path.
template <std::size_t N> inline constexpr QStringView literal(const char16_t (&text)[N]) {
  return QStringView(text, qsizetype(N - 1));
}
template <std::size_t N> inline bool sameText(QStringView a, const char16_t (&b)[N]) {
  return sameText(a, literal(b));
}
template <std::size_t N> inline bool hasPrefix(QStringView text, const char16_t (&prefix)[N]) {
  return hasPrefix(text, literal(prefix));
}
template <std::size_t N>
inline qsizetype findText(QStringView text, const char16_t (&needle)[N], qsizetype from = 0) {
  return findText(text, literal(needle), from);
}
template <std::size_t N> inline bool containsText(QStringView text, const char16_t (&needle)[N]) {
  return findText(text, literal(needle)) >= 0;
}

// Copies text into target, in target's own buffer when it has one large enough: the dispatchers
// hand the handlers the same strings line after line, so a block allocates next to nothing.
inline void assignText(QString& target, QStringView text) {
  target.setUnicode(text.data(), text.size());
}

// Every occurrence of before, left to right and without overlaps, replaced by after; then the
// spaces at both ends removed (in that order: before may itself hold spaces). The result goes
// to target as assignText puts it there.
void replaceAllTrimmed(QStringView text, QStringView before, QStringView after, QString& target);
inline QString replaceAllTrimmed(QStringView text, QStringView before, QStringView after) {
  QString result;
  replaceAllTrimmed(text, before, after, result);
  return result;
}
template <std::size_t N, std::size_t M>
QString replaceAllTrimmed(QStringView text, const char16_t (&before)[N],
                          const char16_t (&after)[M]) {
  return replaceAllTrimmed(text, literal(before), literal(after));
}
template <std::size_t N, std::size_t M>
void replaceAllTrimmed(QStringView text, const char16_t (&before)[N], const char16_t (&after)[M],
                       QString& target) {
  replaceAllTrimmed(text, literal(before), literal(after), target);
}

// The number at the start of a field, after blanks only; plain digit strings, the usual case,
// are read directly.
double fieldNumber(QStringView field);

// Classifies one received piece. The tests run in a fixed order and a later match overrides an
// earlier one, so a heartbeat start followed by field markers is a marker line.
LineKind classifyLine(QStringView line);

// Calls piece(QStringView) for every piece of a received block split at CR LF, in order. Each
// block stands alone (nothing is carried over), a lone CR or LF stays inside its piece, and a
// final CR LF gives a last, empty piece; so does an empty block. The views point into block.
template <typename PieceFn> void forEachPiece(QStringView block, PieceFn&& piece) {
  const qsizetype n = block.size();
  qsizetype start = 0;
  qsizetype from = 0;
  for (;;) {
    const qsizetype cr = block.indexOf(u'\r', from);
    if (cr < 0)
      break;
    if (cr + 1 < n && block[cr + 1] == u'\n') {
      piece(block.sliced(start, cr - start));
      start = cr + 2;
      from = start;
    } else {
      from = cr + 1;
    }
  }
  piece(block.sliced(start));
}

std::vector<QStringView> splitBlock(QStringView block);

inline constexpr std::size_t kAllFields = std::numeric_limits<std::size_t>::max();

// Splits a line into its zero-based fields; empty fields count. Stops once maxFields fields are
// collected (the dispatchers read only the first few, so a line of thousands of fields costs no
// more than a short one). fields is cleared first and keeps its capacity.
void splitFields(QStringView line, QChar separator, std::vector<QStringView>& fields,
                 std::size_t maxFields = kAllFields);
void splitFields(QStringView line, QStringView separator, std::vector<QStringView>& fields,
                 std::size_t maxFields = kAllFields);

inline void splitTabLine(QStringView line, std::vector<QStringView>& fields,
                         std::size_t maxFields = kAllFields) {
  splitFields(line, kTab, fields, maxFields);
}
inline void splitMarkerLine(QStringView line, std::vector<QStringView>& fields,
                            std::size_t maxFields = kAllFields) {
  splitFields(line, kFieldMarker, fields, maxFields);
}

// Whether the line holds a field marker anywhere.
bool containsFieldMarker(QStringView line);

} // namespace meldlux
