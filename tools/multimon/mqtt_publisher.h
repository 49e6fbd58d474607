// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decoded_telegram.h"
#include "publish_queue.h"

#include <QObject>
#include <QSet>
#include <QString>

namespace meldlux::multimon {

class BrokerLink;

// Puts every telegram on the broker: the JSON on meldlux/<site>/telegram, a vehicle's own status
// also retained on meldlux/<site>/fms/<identifier>, and the bridge's status retained on
// meldlux/<site>/bridge ({"online":true,...}; the link's last will says {"online":false}).
// While the broker is away the telegrams wait in a bounded queue and go out in order when it is
// back.
class MqttPublisher : public QObject {
  Q_OBJECT
public:
  static constexpr int kInFlight = 20; // handed to the library and not yet acknowledged

  MqttPublisher(BrokerLink& link, QString site, qsizetype queueCapacity, QObject* parent = nullptr);

  static QByteArray bridgeTopic(const QString& site);
  static QByteArray telegramTopic(const QString& site);

  void publish(const DecodedTelegram& telegram);
  // The retained status on meldlux/<site>/bridge (JSON), now and after every reconnect.
  void setStatus(const QByteArray& json);
  // Says offline before an orderly end, as the last will would after a crash.
  void sayOffline();

  qint64 dropped() const { return queue_.dropped(); }
  qint64 acknowledgedTelegrams() const { return acknowledged_; }

private:
  void pump();
  void linkUp();
  void linkLost();
  void acknowledged(int mid);

  BrokerLink& link_;
  QString site_;
  QString runId_;
  qint64 next_ = 1;
  PublishQueue queue_;
  QSet<int> inFlight_;    // ids of telegram messages the broker has not acknowledged
  qint64 acknowledged_ = 0;
  qint64 droppedBefore_ = 0; // the dropped count when the broker went away
  bool toldFull_ = false;
  bool wasLost_ = false;
  QByteArray status_ = QByteArrayLiteral("{\"online\":true}");
};

} // namespace meldlux::multimon
