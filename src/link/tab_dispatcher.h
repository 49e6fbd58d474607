// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace meldlux {

class FollowUpPlaces;
class TelegramHandlers;
class TrafficModeTracker;
struct LinkState;

// Turns one tab-format line into a handler call. Tab lines carry no time, so the handlers get 0
// and use their own.
class TabDispatcher {
public:
  TabDispatcher(LinkState& state, TrafficModeTracker& trafficMode,
                const FollowUpPlaces& followUpPlaces);

  // Without handlers lines are still counted and the traffic mode still followed.
  void setHandlers(TelegramHandlers* handlers) { handlers_ = handlers; }

  // A failure while handling the line drops it; counters already raised stay raised.
  void DispatchTabLine(QStringView line);

private:
  void dispatch(QStringView line);
  void dispatchFms(std::size_t count);

  LinkState& state_;
  TrafficModeTracker& trafficMode_;
  const FollowUpPlaces& followUpPlaces_;
  TelegramHandlers* handlers_ = nullptr;
  std::vector<QStringView> fields_; // reused from line to line
  // The handlers' string arguments, reused from line to line so their buffers are too.
  QString identifier_; // also the five-tone code and the RIC
  QString text_;
  QString function_;
};

} // namespace meldlux
