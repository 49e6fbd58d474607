// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decoded_telegram.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace meldlux::multimon {

// The JSON object a telegram travels in over MQTT, the same for both ends of the bridge:
//   {"id": "...", "site": "...", "time": "2026-12-07T16:41:59.123+01:00", "kind": "fms",
//    "fields": {...}, "line": "FMSTlg\t..."}
// "id" is unique per telegram (the sender's run, then a counter), so a receiver can tell a
// message delivered again from a new telegram.
class TelegramJson {
public:
  struct Received {
    QString id;
    QString line; // the wire line, safe to serve: no line break, not overlong
  };

  static QByteArray encode(const DecodedTelegram& telegram, const QString& id, const QString& site,
                           const QDateTime& time);
  // Anything that is not such an object, or whose line could not be served as one line, is
  // refused.
  static std::optional<Received> decode(const QByteArray& payload);
};

} // namespace meldlux::multimon
