// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <optional>

namespace meldlux::multimon {

// Whether the receiver's chain delivers audio to multimon-ng, since when it does not, how often
// a part of it was started again and when the last telegram came: what the bridge tells its
// clients in its heartbeat line.
class ReceiverState {
public:
  // A part ended or went quiet; the first fault of a run of them is the one "since" names.
  void fault(const QDateTime& now);
  void flowing();
  void telegram(const QDateTime& now) { lastTelegram_ = now; }

  bool ok() const { return !downSince_.isValid(); }
  const QDateTime& downSince() const { return downSince_; }
  int restarts() const { return restarts_; }
  const QDateTime& lastTelegram() const { return lastTelegram_; }

  // "#!XX!# meldlux interval=SECONDS receiver=ok", or "receiver=down since=TIME" with the
  // local time and its offset: nothing else follows the heartbeat's marker that a client could
  // take for a field.
  QByteArray heartbeatLine(double intervalSeconds) const;

  // The retained status of a receiving bridge on MQTT: {"online":..., and with the receiver known,
  // "receiver":"ok"|"down", "since", "restarts", "last_telegram"}.
  QByteArray statusJson(bool online, bool withReceiver) const;
  static QByteArray offlineJson();
  // A station's view of that status, for its own heartbeat: a bridge that is offline has lost its
  // receiver too, since `now` when nothing says since when. Nothing when the receiver is not told.
  static std::optional<ReceiverState> fromStatusJson(const QByteArray& json, const QDateTime& now);

  // Local time with its offset written out, to the second.
  static QString stamp(const QDateTime& time);

private:
  QDateTime downSince_;
  QDateTime lastTelegram_;
  int restarts_ = 0;
};

} // namespace meldlux::multimon
