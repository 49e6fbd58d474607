// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace meldlux::client_messages {

// The only texts this client ever sends to the decoder server. The server answers none of them
// directly; whatever comes back is received like any other line.

// "PASS:" + password + CR LF, the password in clear, as typed.
QString login(const QString& password);
// One blank, no line end: just enough traffic for a dead link to show up as a socket error.
QString keepalive();
// "Exit" + CR LF: asks the server to close the connection.
QString disconnectRequest();
// "XXX" + CR LF, sent before the disconnect request when the program ends.
QString shutdownNotice();

// The bytes that travel for a text: Windows-1252, one byte per character.
QByteArray toWire(QStringView text);

} // namespace meldlux::client_messages
