// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/client_messages.h"

#include "base/cp1252.h"

namespace meldlux::client_messages {

QString login(const QString& password) {
  return QStringLiteral("PASS:") + password + QStringLiteral("\r\n");
}

QString keepalive() { return QStringLiteral(" "); }

QString disconnectRequest() { return QStringLiteral("Exit\r\n"); }

QString shutdownNotice() { return QStringLiteral("XXX\r\n"); }

QByteArray toWire(QStringView text) { return cp1252::encode(text); }

} // namespace meldlux::client_messages
