// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/clock.h"

#include <QDateTime>
#include <cmath>

namespace meldlux {

OleDate SystemClock::now() const { return localDate(QDateTime::currentMSecsSinceEpoch()); }

OleDate SystemClock::localDate(qint64 msecsSinceEpoch) const {
  constexpr qint64 kMsPerDay = 86400000;
  constexpr qint64 kEpochDays = 25569; // 30.12.1899 to 01.01.1970
  if (msecsSinceEpoch == lastMs_)      // a burst of lines asks many times within one millisecond
    return lastDate_;
  const qint64 second =
      msecsSinceEpoch >= 0 ? msecsSinceEpoch / 1000 : -((-msecsSinceEpoch + 999) / 1000);
  if (second != offsetSecond_) {
    offsetMs_ = qint64(QDateTime::fromMSecsSinceEpoch(second * 1000).offsetFromUtc()) * 1000;
    offsetSecond_ = second;
  }
  const qint64 local = msecsSinceEpoch + offsetMs_;
  const qint64 days = local >= 0 ? local / kMsPerDay : -((-local + kMsPerDay - 1) / kMsPerDay);
  lastMs_ = msecsSinceEpoch;
  lastDate_ = double(days + kEpochDays) + double(local - days * kMsPerDay) / double(kMsPerDay);
  return lastDate_;
}

double SystemClock::secondsSinceMidnight() const {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

double ManualClock::secondsSinceMidnight() const {
  return (now_ - std::floor(now_)) * kSecondsPerDay;
}

} // namespace meldlux
