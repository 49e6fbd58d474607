// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/tab_dispatcher.h"

#include "base/failure.h"
#include "base/numbers.h"
#include "link/counter.h"
#include "link/telegram_handlers.h"
#include "link/traffic_mode_tracker.h"
#include "link/wire_protocol.h"
#include "refdata/follow_up_places.h"
#include "state/link_state.h"

namespace meldlux {

namespace {

// Fields past the free text (f13) are never read.
constexpr std::size_t kFieldsRead = 14;
constexpr double kHighestStatus = 18;
constexpr double kHighestPlace = 100;

} // namespace

TabDispatcher::TabDispatcher(LinkState& state, TrafficModeTracker& trafficMode,
                             const FollowUpPlaces& followUpPlaces)
    : state_(state), trafficMode_(trafficMode), followUpPlaces_(followUpPlaces) {}

void TabDispatcher::DispatchTabLine(QStringView line) {
  try {
    dispatch(line);
  } catch (const Failure&) {
    // The line is dropped silently; the next one is handled as usual.
  }
}

void TabDispatcher::dispatch(QStringView line) {
  splitTabLine(line, fields_, kFieldsRead);
  if (fields_.size() < 2) // no TAB: not a telegram
    return;
  incrementCounter(state_.ReceivedTotal); // every line with a TAB counts, even a rejected one
  const std::size_t count = fields_.size();
  const QStringView f0 = fields_[0];
  if (sameText(f0, u"ZVEI")) {
    assignText(identifier_, fields_[1]);
    OleDate time = 0;
    if (handlers_)
      handlers_->HandleZvei(identifier_, time);
  } else if (sameText(f0, u"POC")) {
    if (count < 4)
      return;
    assignText(identifier_, trimmedSpaces(fields_[1]));
    assignText(text_, trimmedSpaces(fields_[3]));
    assignText(function_, trimmedSpaces(fields_[2]));
    OleDate time = 0;
    if (handlers_)
      handlers_->HandlePocsag(identifier_, text_, function_, time);
  } else if (sameText(f0, u"FMSTlg")) {
    if (count >= 9)
      dispatchFms(count);
  }
}

void TabDispatcher::dispatchFms(std::size_t count) {
  const double statusValue = fieldNumber(fields_[6]);
  if (statusValue > kHighestStatus)
    return;
  assignText(identifier_, fields_[1]);
  std::int16_t status = roundToInt16(statusValue);
  assignText(text_, {});
  OleDate time = 0;
  const bool hasText = count >= 14;

  if (sameText(fields_[8], u"0")) {
    trafficMode_.vehicleStep();
    if (status != 10) {
      if (hasText) {
        const double kind = fieldNumber(fields_[10]);
        if (kind == 2)
          assignText(text_, trimmedSpaces(fields_[13]));
        if (kind == 1) {
          const double place = fieldNumber(fields_[12]);
          if (place <= kHighestPlace)
            assignText(text_, followUpPlaces_.at(roundToInt32(place)));
        }
      }
    } else if (hasText) {
      assignText(text_, trimmedSpaces(fields_[13]));
    }
    if (handlers_)
      handlers_->HandleFmsVehicle(identifier_, status, text_, time);
    return;
  }

  trafficMode_.controlCentreStep(status);
  if (status == 10 && hasText) {
    // A label would read a single "&" as a shortcut marker.
    replaceAllTrimmed(fields_[13], u"&TRN", u"&&TRN", text_);
  }
  if (handlers_)
    handlers_->HandleFmsControl(identifier_, status, text_, time);
}

} // namespace meldlux
