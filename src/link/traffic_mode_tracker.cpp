// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/traffic_mode_tracker.h"

#include "base/clock.h"
#include "base/formats.h"
#include "link/counter.h"
#include "link/wire_protocol.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"

namespace meldlux {

namespace {

const QString kKreisverkehr = QStringLiteral("Kreisverkehr");
const QString kSternverkehr = QStringLiteral("Sternverkehr");

constexpr Colour kRed = 255;
constexpr Colour kDarkGreen = 36864;

} // namespace

TrafficModeTracker::TrafficModeTracker(LinkState& state, const Clock& clock, const Options& options,
                                       Indicators& indicators)
    : state_(state), clock_(clock), options_(options), indicators_(indicators) {}

void TrafficModeTracker::vehicleStep() {
  state_.LastVehicleTelegram = clock_.now();
  state_.StarCount = 0;
  state_.TrafficMode = kKreisverkehr;
  ShowTrafficMode();
}

void TrafficModeTracker::controlCentreStep(std::int16_t status) {
  // Orders of status 9 and 14 upward weigh twice; text telegrams (10) do not count.
  if (status != 10)
    incrementCounter(state_.StarCount);
  if (status == 9 || status >= 14)
    incrementCounter(state_.StarCount);
  // The count first: the clock is read only when the count alone would switch.
  if (state_.StarCount > 3 &&
      (clock_.now() - state_.LastVehicleTelegram) * kSecondsPerDay > kStarAfterSeconds) {
    state_.TrafficMode = kSternverkehr;
    ShowTrafficMode();
  }
}

void TrafficModeTracker::ShowTrafficMode() {
  if (!options_.checked(Check::chkMsgAktiv))
    return;
  // The label's caption is the memory of what was shown last, so a speaks indication written
  // over the notice also ends the "Sternverkehr" state. The notice shows the time it appears,
  // read afresh: a change is rare, and a long block may have begun seconds before.
  // Called for every FMS telegram: the mode is compared first, inline, the caption only then.
  if (sameText(state_.TrafficMode, kSternverkehr) &&
      !containsText(indicators_.lblSpricht().caption, u"Sternver")) {
    indicators_.setCaption(Indicator::Spricht, formatTime(clock_.now()) + u' ' + kSternverkehr);
    indicators_.setForeColor(Indicator::Spricht, kRed);
    indicators_.setBold(Indicator::Spricht, false);
    indicators_.setCaption(Indicator::Sprechwunsch, QString());
  }
  if (sameText(state_.TrafficMode, kKreisverkehr) &&
      containsText(indicators_.lblSpricht().caption, u"Sternver")) {
    indicators_.setCaption(Indicator::Spricht, formatTime(clock_.now()) + u' ' + kKreisverkehr);
    indicators_.setForeColor(Indicator::Spricht, kDarkGreen);
    indicators_.setBold(Indicator::Spricht, false);
  }
}

} // namespace meldlux
