// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

namespace meldlux {

class Clock;
class PopupModel;
struct LinkState;

// TimerCleanup: once a second the popup drops lines older than the display time, and the
// receive burst window starts over when it is more than 5 seconds old.
class CleanupTick : public QObject {
  Q_OBJECT
public:
  CleanupTick(PopupModel& popup, LinkState& link, const Clock& clock, QObject* parent = nullptr);

  QTimer& TimerCleanup() { return timer_; }
  bool enabled() const { return timer_.isActive(); }
  void setEnabled(bool enabled);

  void TimerCleanup_Timer();

private:
  PopupModel& popup_;
  LinkState& link_;
  const Clock& clock_;
  QTimer timer_;
};

} // namespace meldlux
