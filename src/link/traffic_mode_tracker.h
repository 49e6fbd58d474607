// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>
#include <cstdint>

namespace meldlux {

class Clock;
class Indicators;
class Options;
struct LinkState;

// Tells from the FMS telegrams whether vehicles are heard on the channel ("Kreisverkehr") or,
// for a while, only the control centre ("Sternverkehr"), and shows each change in the popup's
// speaks label.
class TrafficModeTracker {
public:
  static constexpr double kStarAfterSeconds = 180.0;

  TrafficModeTracker(LinkState& state, const Clock& clock, const Options& options,
                     Indicators& indicators);

  // Before the handler of an FMS telegram sent by a vehicle; remembers now as its time.
  void vehicleStep();
  // Before the handler of an FMS telegram sent by the control centre. Handling a long block
  // takes time, so each line is judged at the moment it is handled, not when its block came.
  void controlCentreStep(std::int16_t status);
  void ShowTrafficMode();

private:
  LinkState& state_;
  const Clock& clock_;
  const Options& options_;
  Indicators& indicators_;
};

} // namespace meldlux
