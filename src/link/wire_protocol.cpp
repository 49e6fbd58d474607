// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/wire_protocol.h"

#include "base/numbers.h"

#include <QVarLengthArray>
#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace meldlux {

namespace {

// Bit i set where text[i] == c, for at most 16 characters; without branches, so the compiler
// may vectorise it. Also the tail of a line in the vectorised path below.
unsigned unitMask(const char16_t* text, qsizetype count, char16_t c) {
  unsigned mask = 0;
  for (qsizetype i = 0; i < count; ++i)
    mask |= unsigned(text[i] == c) << i;
  return mask;
}

// Calls found(position) for every c in text at or after from, in order, until found returns
// false. The positions come from a mask of 16 characters at a time: the fields between
// separators are mostly a few characters long, and a loop that stops at every separator
// mispredicts a branch or more per field (the splits were a third of the dispatch's time).
template <typename Found> void forEachUnit(QStringView text, char16_t c, qsizetype from,
                                           Found&& found) {
  const char16_t* d = reinterpret_cast<const char16_t*>(text.data());
  const qsizetype n = text.size();
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i pattern = _mm_set1_epi16(short(c));
#endif
  for (qsizetype base = from; base < n; base += 16) {
    unsigned mask;
#if defined(__SSE2__) || defined(_M_X64)
    if (n - base >= 16) {
      const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + base));
      const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + base + 8));
      const __m128i equal =
          _mm_packs_epi16(_mm_cmpeq_epi16(low, pattern), _mm_cmpeq_epi16(high, pattern));
      mask = unsigned(_mm_movemask_epi8(equal));
    } else
#endif
      mask = unitMask(d + base, std::min<qsizetype>(16, n - base), c);
    while (mask != 0) {
      const qsizetype at = base + std::countr_zero(mask);
      mask &= mask - 1;
      if (!found(at))
        return;
    }
  }
}

constexpr qsizetype kBracket = 2; // position of "[" inside the field marker

// Whether the six characters at d + at are the field marker; the caller checks they exist.
bool markerAt(const char16_t* d, qsizetype at) {
  return std::memcmp(d + at, kFieldMarker.data(), sizeof(char16_t) * kFieldMarker.size()) == 0;
}

// The first field marker "#![]!#", found by its "[", which ordinary text rarely holds.
qsizetype findFieldMarker(QStringView line) {
  const char16_t* d = reinterpret_cast<const char16_t*>(line.data());
  qsizetype found = -1;
  forEachUnit(line, u'[', kBracket, [&](qsizetype bracket) {
    const qsizetype at = bracket - kBracket;
    if (at + kFieldMarker.size() > line.size())
      return false;
    if (!markerAt(d, at))
      return true;
    found = at;
    return false;
  });
  return found;
}

} // namespace

void replaceAllTrimmed(QStringView text, QStringView before, QStringView after, QString& target) {
  qsizetype at = before.isEmpty() ? -1 : findText(text, before);
  if (at < 0) { // the usual case: one copy, already trimmed
    assignText(target, trimmedSpaces(text));
    return;
  }
  // Built on the stack and trimmed there, so the result is copied once at its final size.
  QVarLengthArray<QChar, 256> result;
  qsizetype done = 0;
  while (at >= 0) {
    result.append(text.data() + done, at - done);
    result.append(after.data(), after.size());
    done = at + before.size();
    at = findText(text, before, done);
  }
  result.append(text.data() + done, text.size() - done);
  assignText(target, trimmedSpaces(QStringView(result.constData(), result.size())));
}

double fieldNumber(QStringView field) {
  constexpr qsizetype kMostDigits = 9; // fits an int
  if (field.isEmpty() || field.size() > kMostDigits)
    return leadingNumberAfterSpaces(field);
  int value = 0;
  for (const QChar c : field) {
    const char16_t u = c.unicode();
    if (u < u'0' || u > u'9')
      return leadingNumberAfterSpaces(field);
    value = value * 10 + (u - u'0');
  }
  return value;
}

LineKind classifyLine(QStringView line) {
  LineKind kind = LineKind::Ignored;
  // The four prefixes differ in their first character, so at most one can match.
  switch (line.isEmpty() ? u'\0' : line.front().unicode()) {
  case u'#':
    if (hasPrefix(line, kHeartbeatStart))
      kind = LineKind::Heartbeat;
    break;
  case u'Z':
    if (hasPrefix(line, u"ZVEI"))
      kind = LineKind::TabLine;
    break;
  case u'F':
    if (hasPrefix(line, u"FMSTlg"))
      kind = LineKind::TabLine;
    break;
  case u'P':
    if (hasPrefix(line, u"POC"))
      kind = LineKind::TabLine;
    break;
  default:
    break;
  }
  if (containsFieldMarker(line))
    kind = LineKind::MarkerLine;
  return kind;
}

bool containsFieldMarker(QStringView line) { return findFieldMarker(line) >= 0; }

std::vector<QStringView> splitBlock(QStringView block) {
  std::vector<QStringView> pieces;
  forEachPiece(block, [&pieces](QStringView piece) { pieces.push_back(piece); });
  return pieces;
}

void splitFields(QStringView line, QChar separator, std::vector<QStringView>& fields,
                 std::size_t maxFields) {
  fields.clear();
  if (maxFields == 0)
    return;
  qsizetype start = 0;
  forEachUnit(line, separator.unicode(), 0, [&](qsizetype at) {
    fields.push_back(line.sliced(start, at - start));
    start = at + 1;
    return fields.size() < maxFields;
  });
  if (fields.size() < maxFields)
    fields.push_back(line.sliced(start));
}

void splitFields(QStringView line, QStringView separator, std::vector<QStringView>& fields,
                 std::size_t maxFields) {
  fields.clear();
  if (separator.isEmpty()) { // nothing to split at: the whole line is one field
    if (maxFields > 0)
      fields.push_back(line);
    return;
  }
  if (maxFields == 0)
    return;
  qsizetype start = 0;
  if (sameText(separator, kFieldMarker)) { // the usual case: the markers found by their "["
    const char16_t* d = reinterpret_cast<const char16_t*>(line.data());
    const qsizetype n = line.size();
    forEachUnit(line, u'[', kBracket, [&](qsizetype bracket) {
      const qsizetype at = bracket - kBracket;
      if (at < start) // inside the marker just found
        return true;
      if (at + kFieldMarker.size() > n)
        return false;
      if (!markerAt(d, at))
        return true;
      fields.push_back(line.sliced(start, at - start));
      start = at + kFieldMarker.size();
      return fields.size() < maxFields;
    });
    if (fields.size() < maxFields)
      fields.push_back(line.sliced(start));
    return;
  }
  while (fields.size() < maxFields) {
    const qsizetype at = findText(line, separator, start);
    if (at < 0) {
      fields.push_back(line.sliced(start));
      break;
    }
    fields.push_back(line.sliced(start, at - start));
    start = at + separator.size();
  }
}

} // namespace meldlux
