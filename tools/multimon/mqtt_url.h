// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace meldlux::multimon {

// Where the broker is: "mqtt://host[:port]" (plain, 1883) or "mqtts://host[:port]" (TLS, 8883).
struct MqttUrl {
  QString host;
  int port = 1883;
  bool tls = false;

  static std::optional<MqttUrl> parse(const QString& text);
  QString toString() const;
};

} // namespace meldlux::multimon
