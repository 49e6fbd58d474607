// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <deque>

namespace meldlux::multimon {

// The ids of the last telegrams served. The broker may deliver a message again after a
// reconnect; a telegram whose id is still in the window is not served twice.
class SeenWindow {
public:
  explicit SeenWindow(qsizetype capacity = 4096) : capacity_(capacity > 0 ? capacity : 1) {}

  // True the first time an id comes (and remembers it), false while it is remembered.
  bool firstTime(const QString& id);

private:
  qsizetype capacity_;
  QSet<QString> ids_;
  std::deque<QString> order_;
};

} // namespace meldlux::multimon
