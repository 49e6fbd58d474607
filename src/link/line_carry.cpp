// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/line_carry.h"

namespace meldlux {

namespace {
const QByteArray kLineEnd("\r\n");
}

QByteArray LineCarry::wholeLines(const QByteArray& block) {
  QByteArray text = carried_.isEmpty() ? block : carried_ + block;
  carried_.clear();
  if (dropping_) {
    const qsizetype end = text.indexOf(kLineEnd);
    if (end < 0) {
      // A CR at the end may be the first half of the line end.
      if (text.endsWith('\r'))
        carried_ = "\r";
      return {};
    }
    text.remove(0, end + kLineEnd.size());
    dropping_ = false;
  }
  const qsizetype last = text.lastIndexOf(kLineEnd);
  const qsizetype whole = last < 0 ? 0 : last + kLineEnd.size();
  if (text.size() - whole > maxCarried_) {
    dropping_ = true;
    if (text.endsWith('\r'))
      carried_ = "\r";
  } else {
    carried_ = text.sliced(whole);
  }
  text.truncate(whole);
  return text;
}

void LineCarry::clear() {
  carried_.clear();
  dropping_ = false;
}

} // namespace meldlux
