// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <deque>

namespace meldlux::multimon {

// One message for the broker.
struct MqttMessage {
  QByteArray topic;
  QByteArray payload;
  bool retain = false;
};

// The telegrams waiting for the broker, in order, at most `capacity` of them. When it is full the
// oldest goes: at a station the newest alarm matters most, and one that waited that long is stale.
class PublishQueue {
public:
  using Telegram = QList<MqttMessage>; // what one telegram publishes

  explicit PublishQueue(qsizetype capacity) : capacity_(capacity > 0 ? capacity : 1) {}

  // Returns false when the oldest telegram had to go to make room.
  bool push(Telegram telegram);
  Telegram takeFront();
  bool empty() const { return items_.empty(); }
  qsizetype size() const { return qsizetype(items_.size()); }
  qsizetype capacity() const { return capacity_; }
  qint64 dropped() const { return dropped_; }

private:
  qsizetype capacity_;
  std::deque<Telegram> items_;
  qint64 dropped_ = 0;
};

} // namespace meldlux::multimon
