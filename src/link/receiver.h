#pragma once

#include "link/marker_dispatcher.h"
#include "link/tab_dispatcher.h"
#include "link/traffic_mode_tracker.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>

namespace meldlux {

class Clock;
class FollowUpPlaces;
class Indicators;
class Options;
class StatusLabel;
class TelegramHandlers;
struct LinkState;

// The socket's data-arrival event: counts the pieces of each received block for the popup's
// flood limit, classifies them and hands telegram lines to their dispatcher.
class Receiver : public QObject {
  Q_OBJECT
public:
  static constexpr float kBurstWindowSeconds = 2.0f;

  Receiver(const Clock& clock, LinkState& state, StatusLabel& statusLabel, const Options& options,
           Indicators& indicators, const FollowUpPlaces& followUpPlaces, QObject* parent = nullptr);

  // The handlers the dispatchers call; nullptr (the start) dispatches and counts lines without
  // handling them. Not owned.
  void setHandlers(TelegramHandlers* handlers);

  TabDispatcher& tabDispatcher() { return tab_; }
  MarkerDispatcher& markerDispatcher() { return marker_; }
  TrafficModeTracker& trafficMode() { return trafficMode_; }

  // Lines handled in one turn of the event loop by receivePaced: a flood then keeps the screen
  // and the timers going between turns.
  static constexpr int kPiecesPerTurn = 100;

public Q_SLOTS:
  // block: the text read from the socket, empty when it is not connected. A failure here (not in
  // a line's own handling) shows "Err:" in the status label and drops the rest of the block.
  // Handles the whole block (after any block still waiting) before it returns.
  void Winsock2_DataArrival(const QString& block);
  // The same, but in slices of kPiecesPerTurn pieces, one slice per turn of the event loop.
  // Blocks keep their boundaries and their order.
  void receivePaced(const QString& block);
  // Handles every piece still waiting, at once: called before the link reports a close, so that
  // what arrived before the close is handled before it, as it would be without pacing.
  void finishPending();

private:
  // Handles up to budget pieces of the waiting blocks; false when some are left.
  bool handlePending(int budget);
  void handleBlockStart();
  void receivePiece(QStringView piece);

  const Clock& clock_;
  LinkState& state_;
  StatusLabel& statusLabel_;
  TrafficModeTracker trafficMode_;
  TabDispatcher tab_;
  MarkerDispatcher marker_;
  std::deque<QString> pending_; // received blocks not yet handled to their end, oldest first
  qsizetype next_ = 0;          // start of the next piece in pending_.front()
  bool handling_ = false;       // a handler's nested event loop must not start another slice
  QTimer nextTurn_;
};

} // namespace meldlux
