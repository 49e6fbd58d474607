// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/receiver.h"

#include "base/clock.h"
#include "base/failure.h"
#include "link/counter.h"
#include "link/wire_protocol.h"
#include "state/link_state.h"
#include "state/status_label.h"

#include <cmath>

namespace meldlux {

Receiver::Receiver(const Clock& clock, LinkState& state, StatusLabel& statusLabel,
                   const Options& options, Indicators& indicators,
                   const FollowUpPlaces& followUpPlaces, QObject* parent)
    : QObject(parent), clock_(clock), state_(state), statusLabel_(statusLabel),
      trafficMode_(state, clock, options, indicators), tab_(state, trafficMode_, followUpPlaces),
      marker_(state, clock, trafficMode_, followUpPlaces) {}

void Receiver::setHandlers(TelegramHandlers* handlers) {
  tab_.setHandlers(handlers);
  marker_.setHandlers(handlers);
}

void Receiver::Winsock2_DataArrival(const QString& block) {
  try {
    receive(block);
  } catch (const Failure& failure) {
    statusLabel_.set(QStringLiteral("Err:") + failure.description(), StatusLabel::kRed);
  }
}

void Receiver::receive(QStringView block) {
  const float now = float(clock_.secondsSinceMidnight());
  if (std::fabs(now - state_.ReceiveBurstStart) > kBurstWindowSeconds) {
    state_.ReceiveBurstStart = now;
    state_.ReceiveBurstCount = 0;
  }
  // LastReceived is when the last recognised line was handled, so the time a long block takes
  // still counts as heard, also when a failure drops the block's rest.
  struct LastReceivedAtEnd {
    const Receiver& receiver;
    bool recognised = false;
    ~LastReceivedAtEnd() {
      if (recognised)
        receiver.state_.LastReceived = receiver.clock_.now();
    }
  } lastReceived{*this};
  forEachPiece(block, [this, &lastReceived](QStringView piece) {
    incrementCounter(state_.ReceiveBurstCount); // empty and ignored pieces count too
    const LineKind kind = classifyLine(piece);
    if (kind == LineKind::TabLine)
      tab_.DispatchTabLine(piece);
    else if (kind == LineKind::MarkerLine)
      marker_.DispatchMarkerLine(piece);
    else if (kind == LineKind::Heartbeat && heartbeat_)
      heartbeat_(piece);
    if (kind != LineKind::Ignored)
      lastReceived.recognised = true;
  });
}

} // namespace meldlux
