// SPDX-License-Identifier: GPL-3.0-or-later
#include "seen_window.h"

namespace meldlux::multimon {

bool SeenWindow::firstTime(const QString& id) {
  if (ids_.contains(id))
    return false;
  if (qsizetype(order_.size()) >= capacity_) {
    ids_.remove(order_.front());
    order_.pop_front();
  }
  ids_.insert(id);
  order_.push_back(id);
  return true;
}

} // namespace meldlux::multimon
