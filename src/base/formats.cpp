#include "base/formats.h"

#include <cmath>

namespace meldlux {

namespace {

// Splits a date into whole seconds, rounded to the nearest second as the display does.
struct Parts {
  int day, month, year, hour, minute, second;
};

Parts split(OleDate date) {
  const QDateTime dt = fromOleDate(std::round(date * kSecondsPerDay) / kSecondsPerDay);
  return {dt.date().day(), dt.date().month(), dt.date().year(),
          dt.time().hour(), dt.time().minute(), dt.time().second()};
}

QString two(int value) { return QString::number(value).rightJustified(2, u'0'); }

} // namespace

QString formatTwoDigits(qint64 value) {
  if (value < 0)
    return u'-' + QString::number(-value).rightJustified(2, u'0');
  return QString::number(value).rightJustified(2, u'0');
}

QString formatRightAligned2(qint64 value) { return QString::number(value).rightJustified(2, u' '); }

QString formatTime(OleDate date) {
  const Parts p = split(date);
  return two(p.hour) + u':' + two(p.minute) + u':' + two(p.second);
}

QString formatDateTime(OleDate date) {
  const Parts p = split(date);
  return two(p.day) + u'.' + two(p.month) + u'.' + two(((p.year % 100) + 100) % 100) + u' ' +
         two(p.hour) + u':' + two(p.minute) + u':' + two(p.second);
}

QString formatDecimal(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::abs(value) < 1e15)
    return QString::number(qint64(value));
  // Single-precision values (percentages, font sizes) carry about seven significant digits.
  return QString::number(value, 'g', 7);
}

QString formatDecimal(qint64 value) { return QString::number(value); }

} // namespace meldlux
