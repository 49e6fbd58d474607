// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/vehicle_naming.h"

#include "base/formats.h"
#include "refdata/reference_tables.h"
#include "tables/status_tables.h"
#include "telegrams/fms_identifier.h"

namespace meldlux {

VehicleNaming nameVehicle(QString& identifier, ReferenceTables& reference,
                          const StatusTables& statusTables) {
  const int index = reference.vehicles.FindVehicle(identifier);
  if (index == 0) {
    const QString decoded = DecodeKennung(identifier, statusTables);
    reference.vehicles.setName(0, decoded + QStringLiteral(" (") + identifier + u')');
  }
  return {index, reference.vehicles.at(index).name.text()};
}

QString filterCode(int direction, int status) {
  return QString::number(direction) + formatTwoDigits(status);
}

} // namespace meldlux

