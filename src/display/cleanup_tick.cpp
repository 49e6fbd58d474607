// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/cleanup_tick.h"

#include "base/clock.h"
#include "base/failure.h"
#include "display/popup_model.h"
#include "state/link_state.h"

#include <cmath>

namespace meldlux {

CleanupTick::CleanupTick(PopupModel& popup, LinkState& link, const Clock& clock, QObject* parent)
    : QObject(parent), popup_(popup), link_(link), clock_(clock) {
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &CleanupTick::TimerCleanup_Timer);
}

void CleanupTick::setEnabled(bool enabled) {
  if (enabled == timer_.isActive())
    return;
  if (enabled)
    timer_.start();
  else
    timer_.stop();
}

void CleanupTick::TimerCleanup_Timer() {
  try {
    popup_.RefreshLines();
    popup_.LayoutPopup();
    const double seconds = clock_.secondsSinceMidnight();
    if (std::abs(seconds - double(link_.ReceiveBurstStart)) > 5) {
      link_.ReceiveBurstStart = float(seconds);
      link_.ReceiveBurstCount = 0;
    }
  } catch (const Failure&) {
    // The tick ends here; the next one tries again.
  }
}

} // namespace meldlux
