#include "link/wire_protocol.h"

namespace meldlux {

namespace {

// Position of the next separator at or after from, -1 when there is none. Searching for the
// first character uses Qt's vectorised single-character search; most lines hold few '#'.
qsizetype findSeparator(QStringView line, QStringView separator, qsizetype from) {
  const QChar first = separator.front();
  const qsizetype last = line.size() - separator.size();
  while (from <= last) {
    const qsizetype at = line.indexOf(first, from);
    if (at < 0 || at > last)
      return -1;
    if (line.sliced(at, separator.size()) == separator)
      return at;
    from = at + 1;
  }
  return -1;
}

} // namespace

LineKind classifyLine(QStringView line) {
  LineKind kind = LineKind::Ignored;
  if (line.startsWith(kHeartbeatStart))
    kind = LineKind::Heartbeat;
  if (line.startsWith(u"ZVEI"))
    kind = LineKind::TabLine;
  if (line.startsWith(u"FMSTlg"))
    kind = LineKind::TabLine;
  if (line.startsWith(u"POC"))
    kind = LineKind::TabLine;
  if (containsFieldMarker(line))
    kind = LineKind::MarkerLine;
  return kind;
}

bool containsFieldMarker(QStringView line) { return findSeparator(line, kFieldMarker, 0) >= 0; }

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
    const qsizetype at = line.indexOf(separator, start);
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
  qsizetype start = 0;
  while (fields.size() < maxFields) {
    const qsizetype at = findSeparator(line, separator, start);
    if (at < 0) {
      fields.push_back(line.sliced(start));
      break;
    }
    fields.push_back(line.sliced(start, at - start));
    start = at + separator.size();
  }
}

} // namespace meldlux
