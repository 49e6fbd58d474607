// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/marker_dispatcher.h"
#include "link/tab_dispatcher.h"
#include "link/traffic_mode_tracker.h"

#include <QObject>
#include <QString>
#include <functional>

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
  // Hears every heartbeat line whole, for what a server may say in it; none at first.
  void setHeartbeatObserver(std::function<void(QStringView)> observer) {
    heartbeat_ = std::move(observer);
  }

  TabDispatcher& tabDispatcher() { return tab_; }
  MarkerDispatcher& markerDispatcher() { return marker_; }
  TrafficModeTracker& trafficMode() { return trafficMode_; }

public Q_SLOTS:
  // block: the text read from the socket, empty when it is not connected. A failure here (not in
  // a line's own handling) shows "Err:" in the status label and drops the rest of the block.
  void Winsock2_DataArrival(const QString& block);

private:
  void receive(QStringView block);

  const Clock& clock_;
  LinkState& state_;
  StatusLabel& statusLabel_;
  TrafficModeTracker trafficMode_;
  TabDispatcher tab_;
  MarkerDispatcher marker_;
  std::function<void(QStringView)> heartbeat_;
};

} // namespace meldlux
