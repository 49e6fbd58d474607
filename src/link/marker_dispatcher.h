// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace meldlux {

class Clock;
class FollowUpPlaces;
class TelegramHandlers;
class TrafficModeTracker;
struct LinkState;

// Turns one marker-format line into a handler call, with the time the line carries when it
// carries one, else its arrival time.
class MarkerDispatcher {
public:
  MarkerDispatcher(LinkState& state, const Clock& clock, TrafficModeTracker& trafficMode,
                   const FollowUpPlaces& followUpPlaces);

  // Without handlers lines are still counted and the traffic mode still followed.
  void setHandlers(TelegramHandlers* handlers) { handlers_ = handlers; }

  // A failure while handling the line drops it; counters already raised stay raised.
  void DispatchMarkerLine(QStringView line);

  // The day of the last date read in the exact form.
  struct DayCache {
    QString date;
    qint64 days = 0;
  };
  // Date "DD.MM.YY" and time "hh:mm:ss" of a line, read like parseOleDate reads
  // date + " " + time (Failure when unreadable), without its cost for the usual exact form.
  static OleDate readTelegramTime(QStringView date, QStringView time, DayCache* cache = nullptr);

  // Vehicle texts may start with a tag "EGLOF_..." before the readable part.
  static QStringView removeTag(QStringView text);

private:
  void dispatch(QStringView line);
  void vehicleText(std::int16_t status);
  void controlCentreText();

  LinkState& state_;
  const Clock& clock_;
  TrafficModeTracker& trafficMode_;
  const FollowUpPlaces& followUpPlaces_;
  TelegramHandlers* handlers_ = nullptr;
  std::vector<QStringView> fields_; // reused from line to line
  // The handlers' string arguments, reused from line to line so their buffers are too.
  QString identifier_; // also the five-tone code and the RIC
  QString text_;
  QString function_;
  DayCache dayCache_;
};

} // namespace meldlux
