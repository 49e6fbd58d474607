#include "link/wire_protocol.h"

#include "base/numbers.h"

#include <QVarLengthArray>

namespace meldlux {

namespace {

// The first field marker "#![]!#", found by its "[", which ordinary text rarely holds: one
// vectorised search usually covers the whole line. (Splitting, with its short fields, is faster
// with the plain loop.)
qsizetype findFieldMarker(QStringView line, qsizetype from) {
  constexpr qsizetype kBracket = 2; // position of "[" inside the marker
  qsizetype search = from + kBracket;
  while (search < line.size()) {
    const qsizetype bracket = line.indexOf(u'[', search);
    if (bracket < 0)
      return -1;
    const qsizetype at = bracket - kBracket;
    if (at + kFieldMarker.size() > line.size())
      return -1;
    if (sameText(line.sliced(at, kFieldMarker.size()), kFieldMarker))
      return at;
    search = bracket + 1;
  }
  return -1;
}

// The next field marker at or after from, by Horspool's rule: the character under the marker's
// last position tells how far the marker can move, six characters for ordinary text.
qsizetype findNextFieldMarker(QStringView line, qsizetype from) {
  static_assert(kFieldMarker.size() == 6);
  const char16_t* d = reinterpret_cast<const char16_t*>(line.data());
  const qsizetype n = line.size();
  qsizetype at = from;
  while (at + 6 <= n) {
    switch (d[at + 5]) {
    case u'#':
      if (d[at] == u'#' && d[at + 1] == u'!' && d[at + 2] == u'[' && d[at + 3] == u']' &&
          d[at + 4] == u'!')
        return at;
      at += 5;
      break;
    case u'!':
      at += 1;
      break;
    case u']':
      at += 2;
      break;
    case u'[':
      at += 3;
      break;
    default:
      at += 6;
      break;
    }
  }
  return -1;
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

bool containsFieldMarker(QStringView line) { return findFieldMarker(line, 0) >= 0; }

std::vector<QStringView> splitBlock(QStringView block) {
  std::vector<QStringView> pieces;
  forEachPiece(block, [&pieces](QStringView piece) { pieces.push_back(piece); });
  return pieces;
}

void splitFields(QStringView line, QChar separator, std::vector<QStringView>& fields,
                 std::size_t maxFields) {
  fields.clear();
  qsizetype start = 0;
  while (fields.size() < maxFields) {
    const qsizetype at = findChar(line, separator, start);
    if (at < 0) {
      fields.push_back(line.sliced(start));
      break;
    }
    fields.push_back(line.sliced(start, at - start));
    start = at + 1;
  }
}

void splitFields(QStringView line, QStringView separator, std::vector<QStringView>& fields,
                 std::size_t maxFields) {
  fields.clear();
  if (separator.isEmpty()) { // nothing to split at: the whole line is one field
    if (maxFields > 0)
      fields.push_back(line);
    return;
  }
  const bool fieldMarker = sameText(separator, kFieldMarker); // the usual case, decided once
  qsizetype start = 0;
  while (fields.size() < maxFields) {
    const qsizetype at =
        fieldMarker ? findNextFieldMarker(line, start) : findText(line, separator, start);
    if (at < 0) {
      fields.push_back(line.sliced(start));
      break;
    }
    fields.push_back(line.sliced(start, at - start));
    start = at + separator.size();
  }
}

} // namespace meldlux
