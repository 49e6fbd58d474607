// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/event_log_ticker.h"

#include "base/event_log.h"

namespace meldlux {

EventLogTicker::EventLogTicker(EventLog& log, QObject* parent) : QObject(parent), log_(log) {
  bool ok = false;
  const int periodMs = qEnvironmentVariableIntValue("MELDLUX_EVENT_LOG_TICK_MS", &ok);
  if (!ok || periodMs <= 0 || !log_.enabled())
    return;
  sinceStart_.start();
  timer_.setTimerType(Qt::PreciseTimer); // a coarse timer would add its own slack to the gaps
  timer_.setInterval(periodMs);
  connect(&timer_, &QTimer::timeout, this, &EventLogTicker::tick);
  timer_.start();
}

void EventLogTicker::tick() { log_.write(u"tick", {QString::number(sinceStart_.elapsed())}); }

} // namespace meldlux
