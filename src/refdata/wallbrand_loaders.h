// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/loader_environment.h"
#include "refdata/reference_tables.h"

#include <QString>
#include <QStringView>
#include <cstdint>

namespace meldlux {

struct StatusTables;

// Loaders of the second server product's text lists ("Settings\...wbr"). Lines are recognised by
// their exact leading characters; anything else is ignored. A line that cannot be stored (an
// organisation outside 0..15, a 20th text or colour, a negative place number, a count beyond the
// 16-bit result) throws Failure, which ends start-up; what was stored before stays.

// "Settings\BOSList.wbr": "LST" lines fill the vehicle direction, "KFZ" lines the control-centre
// direction. Returns the number of texts stored.
std::int16_t LoadWallbrandStatusTexts(const LoaderEnvironment& env, const QString& name,
                                      StatusTables& tables);
// "Settings\ClientList.wbr": "FOLGEORT:" and "STATUSFARBE:" lines. Returns the places stored.
std::int16_t LoadWallbrandClientList(const LoaderEnvironment& env, const QString& name,
                                     FollowUpPlaces& places, StatusTables& tables);
// "Settings\FahrzeugMelder.wbr", its "KFZ " lines; resets the table to 0..2000 even when absent.
std::int16_t LoadWallbrandVehicles(const LoaderEnvironment& env, const QString& name,
                                   VehicleTable& vehicles);
// "Settings\FahrzeugMelder.wbr", its "FME " lines: five-tone and pager receivers. Returns the
// five-tone receivers, or 0 when there were more than 2500.
std::int16_t LoadWallbrandReceivers(const LoaderEnvironment& env, const QString& name,
                                    FiveToneTable& fiveTones, PocsagTable& pocsag);

namespace wallbrand {
// Three times: when the text contains a blank, it becomes everything after its first blank.
QString skipThreeWords(QStringView text);
} // namespace wallbrand

} // namespace meldlux
