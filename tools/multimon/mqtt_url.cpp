// SPDX-License-Identifier: GPL-3.0-or-later
#include "mqtt_url.h"

#include <QUrl>

namespace meldlux::multimon {

std::optional<MqttUrl> MqttUrl::parse(const QString& text) {
  const QUrl url(text, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != u"mqtt" && scheme != u"mqtts") || url.host().isEmpty() ||
      !url.userInfo().isEmpty() || (!url.path().isEmpty() && url.path() != u"/") ||
      url.hasQuery() || url.hasFragment())
    return std::nullopt; // a user or password in the URL would end up in the process list
  MqttUrl result;
  result.tls = scheme == u"mqtts";
  result.host = url.host();
  result.port = url.port(result.tls ? 8883 : 1883);
  if (result.port <= 0 || result.port > 65535)
    return std::nullopt;
  return result;
}

QString MqttUrl::toString() const {
  const QString host = this->host.contains(u':') ? u'[' + this->host + u']' : this->host;
  return QStringLiteral("%1://%2:%3").arg(tls ? u"mqtts" : u"mqtt", host).arg(port);
}

} // namespace meldlux::multimon
