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
  forEachPiece(block, [this](QStringView piece) {
    incrementCounter(state_.ReceiveBurstCount); // empty and ignored pieces count too
    const LineKind kind = classifyLine(piece);
    if (kind == LineKind::TabLine)
      tab_.DispatchTabLine(piece);
    else if (kind == LineKind::MarkerLine)
      marker_.DispatchMarkerLine(piece);
    if (kind != LineKind::Ignored)
      state_.LastReceived = clock_.now();
  });
}

} // namespace meldlux
