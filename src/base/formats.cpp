// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/formats.h"

#include <cmath>

namespace meldlux {

namespace {

// Splits a date into whole seconds, rounded to the nearest second as the display does. Plain
// arithmetic on the day count and the fraction: no time-zone lookup per call (the popup formats
// up to 31 times per telegram), and no daylight-saving shift of a time that is already local.
struct Parts {
  qint64 days;
  int seconds; // of the day, 0..86399
};

Parts split(OleDate date) {
  const double totalSeconds = std::round(date * kSecondsPerDay);
  const double days = std::floor(totalSeconds / kSecondsPerDay);
  return {qint64(days), int(totalSeconds - days * kSecondsPerDay)};
}

// Two digits of a value 0..99, written in place.
void putTwo(QChar*& out, int value) {
  *out++ = QChar(u'0' + value / 10);
  *out++ = QChar(u'0' + value % 10);
}

void putTime(QChar*& out, int seconds) {
  putTwo(out, seconds / 3600);
  *out++ = u':';
  putTwo(out, seconds / 60 % 60);
  *out++ = u':';
  putTwo(out, seconds % 60);
}

} // namespace

QString formatTwoDigits(qint64 value) {
  if (value < 0)
    return u'-' + QString::number(-value).rightJustified(2, u'0');
  return QString::number(value).rightJustified(2, u'0');
}

QString formatRightAligned2(qint64 value) { return QString::number(value).rightJustified(2, u' '); }

QString formatTime(OleDate date) {
  QString text(8, Qt::Uninitialized);
  QChar* out = text.data();
  putTime(out, split(date).seconds);
  return text;
}

QString formatDateTime(OleDate date) {
  const Parts p = split(date);
  int year = 0;
  int month = 0;
  int day = 0;
  QDate(1899, 12, 30).addDays(p.days).getDate(&year, &month, &day);
  QString text(17, Qt::Uninitialized);
  QChar* out = text.data();
  putTwo(out, day);
  *out++ = u'.';
  putTwo(out, month);
  *out++ = u'.';
  putTwo(out, ((year % 100) + 100) % 100);
  *out++ = u' ';
  putTime(out, p.seconds);
  return text;
}

QString formatDecimal(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::abs(value) < 1e15)
    return QString::number(qint64(value));
  // Single-precision values (percentages, font sizes) carry about seven significant digits.
  return QString::number(value, 'g', 7);
}

QString formatDecimal(qint64 value) { return QString::number(value); }

QString formatCount(qint64 value) {
  QString digits = QString::number(value);
  for (qsizetype at = digits.size() - 3; at > (value < 0 ? 1 : 0); at -= 3)
    digits.insert(at, u' ');
  return digits;
}

} // namespace meldlux
