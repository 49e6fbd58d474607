// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/loader_environment.h"
#include "refdata/reference_tables.h"

#include <QString>
#include <cstdint>

namespace meldlux {

struct StatusTables;

// Loaders of the first server product's binary files. Each takes the name start-up uses (looked
// up through the environment's files) and returns the count start-up decides on: 0 means absent
// or unusable. Files are read and closed before they return. A file that exists but cannot be
// read, a record that cannot be stored and a count beyond the 16-bit result throw Failure.

// "StatusL.DAT" (direction 1) or "StatusF.DAT" (direction 0): 16 when the file exists.
std::int16_t LoadZentrixStatusTexts(const LoaderEnvironment& env, const QString& name,
                                    StatusTables& tables, int direction);
// "Folgetlg.DAT": the number of records.
std::int16_t LoadZentrixFollowUpPlaces(const LoaderEnvironment& env, const QString& name,
                                       FollowUpPlaces& places);
// "Fahrzeug.Dat": the number of records; resets the table to 0..100 even when absent.
std::int16_t LoadZentrixVehicles(const LoaderEnvironment& env, const QString& name,
                                 VehicleTable& vehicles);
// "Ton5.dat": the number of records loaded, at most 2500.
std::int16_t LoadZentrixFiveTones(const LoaderEnvironment& env, const QString& name,
                                  FiveToneTable& fiveTones);
// "POCSAG.DAT": the number of records; the table is left alone when the result is 0.
std::int16_t LoadZentrixPocsag(const LoaderEnvironment& env, const QString& name,
                               PocsagTable& pocsag);

} // namespace meldlux
