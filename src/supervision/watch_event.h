// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

// What a warning is about: the link, a silent server, an expected telegram, the receiver behind
// the server, or a fault of the program's own.
enum class WatchKind { Link, Silence, Expected, Receiver, Fault };

// A warning comes, comes again while it lasts, and ends with a line (Recovery) or, when something
// else takes over or the user asked for it, without one (Ended).
enum class WatchPhase { Warning, Repeat, Recovery, Ended };

struct WatchEvent {
  WatchKind kind = WatchKind::Link;
  WatchPhase phase = WatchPhase::Warning;
  QString key;  // one per warning that can last: the kind's name, and the code for Expected
  QString text; // the line for the user; empty for Ended
  bool operator==(const WatchEvent&) const = default;
};

// "link", "silence", "expected", "receiver", "fault": the event log's and the journal's words.
QString watchKindName(WatchKind kind);
// "warning", "repeat", "recovery", "ended".
QString watchPhaseName(WatchPhase phase);

// Where the watch's events go.
class WatchEventSink {
public:
  virtual ~WatchEventSink() = default;
  virtual void report(const WatchEvent& event) = 0;
};

} // namespace meldlux
