#include "link/receiver.h"

#include "base/clock.h"
#include "base/failure.h"
#include "link/counter.h"
#include "link/wire_protocol.h"
#include "state/link_state.h"
#include "state/status_label.h"

#include <cmath>
#include <limits>

namespace meldlux {

Receiver::Receiver(const Clock& clock, LinkState& state, StatusLabel& statusLabel,
                   const Options& options, Indicators& indicators,
                   const FollowUpPlaces& followUpPlaces, QObject* parent)
    : QObject(parent), clock_(clock), state_(state), statusLabel_(statusLabel),
      trafficMode_(state, clock, options, indicators), tab_(state, trafficMode_, followUpPlaces),
      marker_(state, clock, trafficMode_, followUpPlaces) {
  nextTurn_.setSingleShot(true);
  nextTurn_.setInterval(0);
  connect(&nextTurn_, &QTimer::timeout, this, [this] {
    if (!handlePending(kPiecesPerTurn))
      nextTurn_.start();
  });
}

void Receiver::setHandlers(TelegramHandlers* handlers) {
  tab_.setHandlers(handlers);
  marker_.setHandlers(handlers);
}

void Receiver::Winsock2_DataArrival(const QString& block) {
  pending_.push_back(block);
  finishPending();
}

void Receiver::receivePaced(const QString& block) {
  pending_.push_back(block);
  if (!handling_ && !handlePending(kPiecesPerTurn))
    nextTurn_.start();
}

void Receiver::finishPending() {
  if (handling_)
    return;
  handlePending(std::numeric_limits<int>::max());
  nextTurn_.stop();
}

void Receiver::handleBlockStart() {
  const float now = float(clock_.secondsSinceMidnight());
  if (std::fabs(now - state_.ReceiveBurstStart) > kBurstWindowSeconds) {
    state_.ReceiveBurstStart = now;
    state_.ReceiveBurstCount = 0;
  }
}

bool Receiver::handlePending(int budget) {
  if (handling_) // a handler's nested event loop: the slice in progress goes on afterwards
    return pending_.empty();
  handling_ = true;
  while (!pending_.empty() && budget > 0) {
    const QStringView block = pending_.front();
    bool blockDone = false;
    try {
      if (next_ == 0)
        handleBlockStart();
      // The pieces as forEachPiece gives them: split at CR LF only, a last piece after the last
      // CR LF (empty when the block ends with one).
      while (!blockDone && budget > 0) {
        qsizetype from = next_;
        qsizetype end = -1;
        for (;;) {
          const qsizetype cr = block.indexOf(u'\r', from);
          if (cr < 0)
            break;
          if (cr + 1 < block.size() && block[cr + 1] == u'\n') {
            end = cr;
            break;
          }
          from = cr + 1;
        }
        const QStringView piece = end < 0 ? block.sliced(next_) : block.sliced(next_, end - next_);
        blockDone = end < 0;
        next_ = blockDone ? 0 : end + 2;
        --budget;
        receivePiece(piece);
      }
    } catch (const Failure& failure) {
      statusLabel_.set(QStringLiteral("Err:") + failure.description(), StatusLabel::kRed);
      blockDone = true; // the rest of this block is dropped
    }
    if (blockDone) {
      next_ = 0;
      pending_.pop_front();
    }
  }
  handling_ = false;
  return pending_.empty();
}

void Receiver::receivePiece(QStringView piece) {
  incrementCounter(state_.ReceiveBurstCount); // empty and ignored pieces count too
  const LineKind kind = classifyLine(piece);
  if (kind == LineKind::TabLine)
    tab_.DispatchTabLine(piece);
  else if (kind == LineKind::MarkerLine)
    marker_.DispatchMarkerLine(piece);
  if (kind != LineKind::Ignored)
    state_.LastReceived = clock_.now();
}

} // namespace meldlux
