// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace meldlux::multimon {

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
