// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QStringView>

namespace meldlux {

// Date and time as days since 30 December 1899 (local time), the fraction being the time of day.
// 0 means "not set". Seconds are compared as value * 86400.
using OleDate = double;

constexpr double kSecondsPerDay = 86400.0;

OleDate toOleDate(const QDateTime& dateTime);
QDateTime fromOleDate(OleDate date);

// ISO 8601 with the offset from UTC written out ("2026-12-08T06:00:00+01:00"), so a reader
// elsewhere knows the local time it happened at. `format` is Qt::ISODate or Qt::ISODateWithMs.
QString isoWithOffset(const QDateTime& time, Qt::DateFormat format = Qt::ISODate);

// Reads "DD.MM.YY hh:mm:ss" (day, month, two-digit year; 24-hour time). Years 00-29 are
// 2000-2029, 30-99 are 1930-1999. A text that is not a valid date and time throws Failure.
OleDate parseOleDate(QStringView text);

} // namespace meldlux
