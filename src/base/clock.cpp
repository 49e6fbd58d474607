#include "base/clock.h"

#include <QDateTime>
#include <cmath>

namespace meldlux {

OleDate SystemClock::now() const { return toOleDate(QDateTime::currentDateTime()); }

double SystemClock::secondsSinceMidnight() const {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

double ManualClock::secondsSinceMidnight() const {
  return (now_ - std::floor(now_)) * kSecondsPerDay;
}

} // namespace meldlux
