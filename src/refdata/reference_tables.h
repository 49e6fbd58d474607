// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/five_tone_table.h"
#include "refdata/follow_up_places.h"
#include "refdata/pocsag_table.h"
#include "refdata/vehicle_table.h"

namespace meldlux {

// The four tables that name vehicles, receivers and follow-up places; filled once at start-up.
struct ReferenceTables {
  VehicleTable vehicles;
  FiveToneTable fiveTones;
  PocsagTable pocsag;
  FollowUpPlaces followUpPlaces;
};

} // namespace meldlux
