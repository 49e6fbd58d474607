// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace meldlux {

// What a readable connected socket holds, told by peeking at it without taking anything: data,
// the server's orderly close (end of stream), or a failure such as a reset. Qt reports a reset
// as the remote host closing, so the difference has to be read from the socket itself.
struct PeerEnd {
  enum class Kind { Data, Closed, Failed, Nothing };
  Kind kind = Kind::Nothing;
  QString description; // for Failed: the system's text for the error

  static PeerEnd peek(qintptr descriptor);
  // Up to limit bytes of what the socket holds, left in place for the next read; empty when it
  // holds nothing or fails.
  static QByteArray peekData(qintptr descriptor, qsizetype limit);
};

} // namespace meldlux
