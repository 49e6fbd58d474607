// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ole_date.h"

#include "base/failure.h"

#include <QRegularExpression>
#include <cmath>

namespace meldlux {

namespace {

const QDate kEpoch(1899, 12, 30);

} // namespace

OleDate toOleDate(const QDateTime& dateTime) {
  const QDateTime local = dateTime.toLocalTime();
  return double(kEpoch.daysTo(local.date())) +
         double(local.time().msecsSinceStartOfDay()) / (kSecondsPerDay * 1000.0);
}

QDateTime fromOleDate(OleDate date) {
  // Round to whole milliseconds so that a value made from a time reads back as that time.
  const double totalMs = std::round(date * kSecondsPerDay * 1000.0);
  const double msPerDay = kSecondsPerDay * 1000.0;
  const double days = std::floor(totalMs / msPerDay);
  const int ms = int(totalMs - days * msPerDay);
  return QDateTime(kEpoch.addDays(qint64(days)), QTime::fromMSecsSinceStartOfDay(ms));
}

OleDate parseOleDate(QStringView text) {
  static const QRegularExpression pattern(QStringLiteral(
      R"(^\s*(\d{1,2})\.(\d{1,2})\.(\d{2}|\d{4})\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*$)"));
  const auto match = pattern.match(text.toString());
  if (!match.hasMatch())
    throw Failure(QStringLiteral("Typen unverträglich: \"%1\" ist kein Datum").arg(text));
  int year = match.capturedView(3).toInt();
  if (match.capturedView(3).size() == 2)
    year += year < 30 ? 2000 : 1900;
  const QDate date(year, match.capturedView(2).toInt(), match.capturedView(1).toInt());
  const int hour = match.capturedView(4).toInt();
  const int minute = match.capturedView(5).toInt();
  const int second = match.capturedView(6).isEmpty() ? 0 : match.capturedView(6).toInt();
  const QTime time(hour, minute, second);
  if (!date.isValid() || !time.isValid())
    throw Failure(QStringLiteral("Typen unverträglich: \"%1\" ist kein Datum").arg(text));
  return double(kEpoch.daysTo(date)) + double(time.msecsSinceStartOfDay()) / (kSecondsPerDay * 1000.0);
}

QString isoWithOffset(const QDateTime& time, Qt::DateFormat format) {
  return time.toOffsetFromUtc(time.offsetFromUtc()).toString(format);
}

} // namespace meldlux
