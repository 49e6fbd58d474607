// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>

namespace meldlux {

// "00": at least two digits (7 -> "07", 100 -> "100").
QString formatTwoDigits(qint64 value);
// "@@": right-aligned in two characters (5 -> " 5", 12 -> "12", 123 -> "123").
QString formatRightAligned2(qint64 value);
// "hh:mm:ss", 24-hour clock, of the time of day of a date.
QString formatTime(OleDate date);
// "DD.MM.YY hh:mm:ss".
QString formatDateTime(OleDate date);
// Plain decimal text: integers without grouping, fractions with "." and no trailing zeros.
QString formatDecimal(double value);
QString formatDecimal(qint64 value);
inline QString formatDecimal(int value) { return formatDecimal(qint64(value)); }
// A count for reading: digits in groups of three with a space between ("11 383").
QString formatCount(qint64 value);

} // namespace meldlux
