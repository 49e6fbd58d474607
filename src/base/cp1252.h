// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace meldlux::cp1252 {

// Every byte 0x00-0xFF decodes to exactly one character and encodes back to the same byte;
// the five bytes Windows leaves undefined map to U+0081, U+008D, U+008F, U+0090, U+009D.
QString decode(QByteArrayView bytes);
// A character that Windows-1252 cannot hold becomes "?".
QByteArray encode(QStringView text);

} // namespace meldlux::cp1252
