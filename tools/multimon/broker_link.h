// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace meldlux::multimon {

// What the publisher and the subscriber need of a connection to an MQTT broker: MqttLink is the
// real one; a test puts a stand-in here to drive their rules without a broker.
class BrokerLink : public QObject {
  Q_OBJECT
public:
  using QObject::QObject;

  virtual bool isUp() const = 0;
  // QoS 1. Returns the message id, or 0 when the message was refused.
  virtual int publish(const QByteArray& topic, const QByteArray& payload, bool retain) = 0;
  virtual bool subscribe(const QByteArray& topic) = 0;

Q_SIGNALS:
  void connected();
  void lost();
  void refused(const QString& reason);
  void acknowledged(int mid);
  void subscribed();
  void received(const QByteArray& topic, const QByteArray& payload);
};

} // namespace meldlux::multimon
