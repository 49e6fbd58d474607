// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "seen_window.h"

#include <QObject>
#include <QString>

namespace meldlux::multimon {

class BrokerLink;

// Takes the telegrams of one site from the broker and hands on each wire line once, in the order
// the broker delivers them; a message delivered again after a reconnect is skipped, and one that
// is no telegram is counted and skipped.
class MqttSubscriber : public QObject {
  Q_OBJECT
public:
  MqttSubscriber(BrokerLink& link, const QString& site, QObject* parent = nullptr);

  qint64 served() const { return served_; }
  qint64 repeated() const { return repeated_; }
  qint64 unreadable() const { return unreadable_; }

Q_SIGNALS:
  void lineReceived(const QString& line);
  // The receiving bridge's retained status (JSON) came or changed.
  void bridgeStatus(const QByteArray& json);

private:
  void take(const QByteArray& payload);

  BrokerLink& link_;
  QByteArray topic_;
  QByteArray statusTopic_;
  SeenWindow seen_;
  bool toldSubscribed_ = false;
  qint64 served_ = 0;
  qint64 repeated_ = 0;
  qint64 unreadable_ = 0;
};

} // namespace meldlux::multimon
