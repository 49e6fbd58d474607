// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace meldlux {

class EventLog;

// For tests that watch the program from outside: when MELDLUX_EVENT_LOG_TICK_MS names a period
// and the event log is on, a "tick" line with the milliseconds since start goes to the log at
// that period. The gaps between them show how long the event loop was held up. Off otherwise,
// and it changes nothing else.
class EventLogTicker : public QObject {
  Q_OBJECT
public:
  explicit EventLogTicker(EventLog& log, QObject* parent = nullptr);

private:
  void tick();

  EventLog& log_;
  QTimer timer_;
  QElapsedTimer sinceStart_;
};

} // namespace meldlux
