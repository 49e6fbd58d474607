// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup_hold.h"

#include <QEvent>

namespace meldlux {

StartupHold::StartupHold(std::initializer_list<QTimer*> timers) {
  for (QTimer* timer : timers) {
    timers_.emplace_back(timer);
    timer->installEventFilter(this);
  }
}

StartupHold::~StartupHold() {
  for (const QPointer<QTimer>& timer : timers_) {
    if (!timer)
      continue;
    timer->removeEventFilter(this);
    if (timer->isActive())
      timer->start(); // the same interval, counted from now
  }
}

bool StartupHold::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Timer)
    return true;
  return QObject::eventFilter(watched, event);
}

} // namespace meldlux
