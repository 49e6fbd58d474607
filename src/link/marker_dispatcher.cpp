// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/marker_dispatcher.h"

#include "base/clock.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "link/counter.h"
#include "link/telegram_handlers.h"
#include "link/traffic_mode_tracker.h"
#include "link/wire_protocol.h"
#include "refdata/follow_up_places.h"
#include "state/link_state.h"

#include <QDate>
#include <algorithm>

namespace meldlux {

namespace {

// Fields past the text (f11) are never read.
constexpr std::size_t kFieldsRead = 12;
constexpr std::size_t kFieldsNeeded = 11;
constexpr double kHighestStatus = 18;
constexpr double kHighestPlace = 100;

int twoDigits(QStringView text, qsizetype at) {
  const char16_t a = text[at].unicode();
  const char16_t b = text[at + 1].unicode();
  if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
    return -1;
  return (a - u'0') * 10 + (b - u'0');
}

} // namespace

MarkerDispatcher::MarkerDispatcher(LinkState& state, const Clock& clock,
                                   TrafficModeTracker& trafficMode,
                                   const FollowUpPlaces& followUpPlaces)
    : state_(state), clock_(clock), trafficMode_(trafficMode), followUpPlaces_(followUpPlaces) {}

OleDate MarkerDispatcher::readTelegramTime(QStringView date, QStringView time, DayCache* cache) {
  if (date.size() == 8 && time.size() == 8 && date[2] == u'.' && date[5] == u'.' &&
      time[2] == u':' && time[5] == u':') {
    const int hour = twoDigits(time, 0);
    const int minute = twoDigits(time, 3);
    const int second = twoDigits(time, 6);
    // The checks of a valid time of day, without building a QTime for every line.
    if (hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60) {
      const int msecs = ((hour * 60 + minute) * 60 + second) * 1000;
      const double fraction = double(msecs) / (kSecondsPerDay * 1000.0);
      // The lines of a burst mostly share their date.
      if (cache && sameText(cache->date, date))
        return double(cache->days) + fraction;
      const int day = twoDigits(date, 0);
      const int month = twoDigits(date, 3);
      int year = twoDigits(date, 6);
      if (day >= 0 && month >= 0 && year >= 0) {
        year += year < 30 ? 2000 : 1900;
        const QDate d(year, month, day);
        if (d.isValid()) {
          const qint64 days = QDate(1899, 12, 30).daysTo(d);
          if (cache) {
            cache->date = date.toString();
            cache->days = days;
          }
          return double(days) + fraction;
        }
      }
    }
  }
  // Anything else (other widths, blanks, invalid dates) gets the general reading and its verdict.
  return parseOleDate(date.toString() + u' ' + time.toString());
}

QStringView MarkerDispatcher::removeTag(QStringView text) {
  if (!hasPrefix(text, u"EGLOF_"))
    return text;
  const qsizetype colon = findText(text, u" : ");
  if (colon >= 0)
    return text.sliced(colon + 3);
  // Without " : " the tag is two words: keep what follows the second space, if there is one.
  const qsizetype first = findText(text, u" ");
  const qsizetype second = first >= 0 ? findText(text, u" ", first + 1) : -1;
  return second >= 0 ? text.sliced(second + 1) : text;
}

void MarkerDispatcher::DispatchMarkerLine(QStringView line) {
  try {
    dispatch(line);
  } catch (const Failure&) {
    // The line is dropped silently; the next one is handled as usual.
  }
}

void MarkerDispatcher::dispatch(QStringView line) {
  splitMarkerLine(line, fields_, kFieldsRead);
  if (fields_.size() < kFieldsNeeded)
    return;
  // The status test comes before the type is looked at, so the types "16" and "17" pass it.
  const double statusValue = fieldNumber(fields_[3]);
  if (statusValue > kHighestStatus)
    return;
  incrementCounter(state_.ReceivedTotal);

  OleDate time = containsText(fields_[0], u"XX!#")
                     ? readTelegramTime(fields_[0].right(8), fields_[1], &dayCache_)
                     : clock_.now();

  const QStringView type = fields_[3];
  const QStringView identifierField = fields_[2];
  if (sameText(type, u"16")) {
    assignText(identifier_, identifierField);
    if (handlers_)
      handlers_->HandleZvei(identifier_, time);
    return;
  }
  if (sameText(type, u"17")) {
    // The RIC is followed directly by its one-character function.
    if (identifierField.isEmpty())
      throw Failure(QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"));
    assignText(identifier_, identifierField.chopped(1));
    assignText(function_, identifierField.right(1));
    assignText(text_, fields_.size() >= 12 ? trimmedSpaces(fields_[11]) : QStringView());
    if (handlers_)
      handlers_->HandlePocsag(identifier_, text_, function_, time);
    return;
  }

  assignText(identifier_, identifierField);
  std::int16_t status = roundToInt16(statusValue);
  if (!sameText(fields_[5], u"false")) {
    trafficMode_.controlCentreStep(status);
    if (status == 10)
      controlCentreText();
    else
      assignText(text_, {});
    if (handlers_)
      handlers_->HandleFmsControl(identifier_, status, text_, time);
  } else {
    trafficMode_.vehicleStep();
    vehicleText(status);
    if (handlers_)
      handlers_->HandleFmsVehicle(identifier_, status, text_, time);
  }
}

void MarkerDispatcher::controlCentreText() {
  if (fields_.size() < 12) {
    assignText(text_, {});
    return;
  }
  // A label would read a single "&" as a shortcut marker.
  replaceAllTrimmed(fields_[11], u";TRN", u"&&TRN", text_);
  // A short suffix in parentheses, "(12)" or "(A)", is the server's, not the dispatcher's. The
  // text is trimmed already, so what is left is a prefix of it.
  QStringView text = text_;
  if (text.endsWith(u')') && text.size() >= 3) {
    text = trimmedSpaces(text.chopped(3));
    if (text.endsWith(u'('))
      text = trimmedSpaces(text.chopped(1));
    text_.truncate(text.size());
  }
}

void MarkerDispatcher::vehicleText(std::int16_t status) {
  if (fields_.size() < 12) {
    assignText(text_, {});
    return;
  }
  if (status == 10) {
    replaceAllTrimmed(fields_[11], u"EGLOF_GPSINFO : ", u"", text_);
    const qsizetype tag = text_.size() - removeTag(text_).size();
    if (tag > 0) { // what follows the tag moves to the front, in the same buffer
      QChar* data = text_.data();
      std::copy(data + tag, data + text_.size(), data);
      text_.truncate(text_.size() - tag);
    }
    return;
  }
  const QStringView text = trimmedSpaces(fields_[11]);
  if (hasPrefix(text, u"EGLOF_BAVARIA")) {
    // The follow-up place code sits in the last three characters.
    const QStringView code = text.right(3);
    const double place = leadingNumberAfterSpaces(code);
    if (place > kHighestPlace) {
      assignText(text_, removeTag(code));
      return;
    }
    // Copied, not shared, so the buffer stays the dispatcher's own.
    assignText(text_, removeTag(followUpPlaces_.at(roundToInt32(place))));
    return;
  }
  assignText(text_, removeTag(text));
}

} // namespace meldlux
