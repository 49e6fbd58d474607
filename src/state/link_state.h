// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>
#include <cstdint>

namespace meldlux {

// The link's shared values, one each for the whole run. The connection manager sets
// ConnectedSince; the receive procedure and the dispatchers the rest. The message list reads the
// burst window as its flood limit, the handlers the times and counts.
struct LinkState {
  OleDate ConnectedSince = 0;
  OleDate LastReceived = 0;         // arrival of the last recognised line; 0 = none yet
  std::int32_t ReceivedTotal = 0;   // telegram lines accepted by a dispatcher
  float ReceiveBurstStart = 0;      // seconds since midnight when the burst window began
  std::int32_t ReceiveBurstCount = 0;
  QString TrafficMode;              // "Kreisverkehr", "Sternverkehr" or empty
  OleDate LastVehicleTelegram = 0;
  std::int32_t StarCount = 0;
};

} // namespace meldlux
