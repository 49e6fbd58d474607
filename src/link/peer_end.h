#pragma once

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
};

} // namespace meldlux
