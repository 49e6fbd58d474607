// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace meldlux {

struct StatusTables;

// An FMS identifier (Kennung) is 8 characters: BOS digit, state code, place code (2), vehicle
// number (2 + 2). Only the BOS digit is read as a number; the rest is copied as text.

// Removes spaces at both ends, then every NUL wherever it stands (in that order, so a space
// followed only by NULs survives).
QString StripNul(QStringView text);

// True when every character is a hexadecimal digit; the empty text is true.
bool IsHexDigits(QStringView text);

// The organisation index 0 to 15: the first character, as it stands, read as one hexadecimal
// digit. Any other first character, or an empty identifier, throws Failure.
int OrgIndex(QStringView identifier);

// The readable form of an identifier: "FW 12 34/56", or the short form "FW 12/56" when the state
// code is "3" or "D" (then "DRK" reads "BRK"). identifier is stripped in place, and the callers
// go on with the stripped text; a stripped text that is not 8 long is returned as it is.
QString DecodeKennung(QString& identifier, const StatusTables& tables);

} // namespace meldlux
