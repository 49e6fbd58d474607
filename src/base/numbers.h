// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace meldlux {

// The number at the start of a text, after leading blanks, tabs and line feeds: optional sign,
// digits, optional "." and fraction, optional exponent. 0 when the text does not begin with one.
// This is how settings and option texts are read.
double leadingNumber(QStringView text);

// The same, but only blanks may come before the number: a field received from the server that
// starts with a tab or a line feed does not begin with a number and reads as 0.
double leadingNumberAfterSpaces(QStringView text);

// Removes spaces, and only spaces, at both ends.
QString trimSpaces(QStringView text);
// The same; a text without spaces at its ends comes back shared, not copied.
QString trimSpaces(const QString& text);
// The part of the text between its leading and trailing spaces.
QStringView trimmedSpaces(QStringView text);

// Rounds half to even; a value that does not fit (or is not a number) throws Failure.
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// Single precision, as the percentages and the font size are kept: a value outside its range does
// not fit, and toSingle throws Failure for it, as the integer conversions do.
bool fitsSingle(double value);
float toSingle(double value);

} // namespace meldlux
