// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace meldlux::multimon {

// The longest line the bridge takes anywhere (from multimon-ng, from a client, from the broker):
// no telegram comes near it, and a longer one is junk that must not grow a buffer without end.
constexpr qsizetype kLongestLine = 4096;

// One telegram read from multimon-ng: what it is, its fields by name (for publishers that want
// them one by one) and the tab-format wire line a client reads.
struct DecodedTelegram {
  enum class Kind { Zvei, Pocsag, Fms };

  Kind kind = Kind::Zvei;
  QVariantMap fields;
  QStringList wireFields; // joined by TAB they make the wire line

  QString wireLine() const { return wireFields.join(u'\t'); }
  static QString kindName(Kind kind);
};

} // namespace meldlux::multimon
