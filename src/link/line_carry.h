// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace meldlux {

// Joins lines that the network delivered in two or more received blocks: each block's unfinished
// end waits in front of the next one. What waits is bounded: a piece that grows beyond the bound
// is dropped, and with it the rest of its line, so a server that never ends a line costs no more
// than the bound.
class LineCarry {
public:
  explicit LineCarry(qsizetype maxCarried) : maxCarried_(maxCarried) {}

  // The whole lines of what has arrived so far, up to and including the last CR LF; empty when no
  // line has ended yet.
  QByteArray wholeLines(const QByteArray& block);
  // A new connection starts with nothing carried.
  void clear();

private:
  qsizetype maxCarried_;
  QByteArray carried_;
  bool dropping_ = false; // the rest of a dropped line is still to come
};

} // namespace meldlux
