// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once


#include <QString>

namespace meldlux {

struct ReferenceTables;
struct StatusTables;

// The name both FMS handlers show for a vehicle: the 30-character name field of its record. An
// unknown vehicle gets record 0, whose name becomes the decoded identifier + " (" + stripped
// identifier + ")"; the identifier is left stripped.
struct VehicleNaming {
  int index;    // 0 for an unknown vehicle
  QString name; // all 30 characters, padding included
};

VehicleNaming nameVehicle(QString& identifier, ReferenceTables& reference,
                          const StatusTables& statusTables);

// Filter code of a telegram: direction digit + status with at least two digits ("005", "110").
QString filterCode(int direction, int status);

} // namespace meldlux

