// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/ticker.h"

namespace meldlux {

QtTicker::QtTicker() {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (tick_)
      tick_();
  });
}

void QtTicker::start(int intervalMs, std::function<void()> tick) {
  tick_ = std::move(tick);
  timer_.start(intervalMs);
}

} // namespace meldlux
