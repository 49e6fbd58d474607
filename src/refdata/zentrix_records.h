// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/five_tone_table.h"
#include "refdata/pocsag_table.h"
#include "refdata/vehicle_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

// The fixed-length records of the first server product's data files: little-endian integers,
// Windows-1252 texts padded with blanks or NULs. Readers take exactly one record; writers give
// exactly one (the sample data and the tests build their files with them).
namespace meldlux::zentrix {

constexpr int kFiveToneRecordLength = 323; // "Ton5.dat"
constexpr int kVehicleRecordLength = 515;  // "Fahrzeug.Dat"
constexpr int kPocsagRecordLength = 581;   // "POCSAG.DAT"
constexpr int kFollowUpRecordLength = 52;  // "Folgetlg.DAT"
constexpr int kStatusRecordLength = 50;    // "StatusF.DAT", "StatusL.DAT"
constexpr int kStatusRecords = 256;

constexpr int kVehicleFurtherOffset = 88;
constexpr int kPocsagFurtherOffset = 58;

struct FollowUpRecord {
  std::int16_t number = 0;
  QString name; // all 50 characters, padding included
};

// A view of the wrong length throws Failure.
FiveToneRecord readFiveTone(QByteArrayView record);
VehicleRecord readVehicle(QByteArrayView record);
PocsagRecord readPocsag(QByteArrayView record);
FollowUpRecord readFollowUp(QByteArrayView record);
QString readStatusText(QByteArrayView record); // all 50 characters

QByteArray writeFiveTone(const FiveToneRecord& record);
QByteArray writeVehicle(const VehicleRecord& record);
QByteArray writePocsag(const PocsagRecord& record);
// The name is padded with pad up to 50 characters (the product writes blanks or NULs).
QByteArray writeFollowUp(std::int16_t number, QStringView name, char pad = ' ');
QByteArray writeStatusText(QStringView text);

} // namespace meldlux::zentrix
