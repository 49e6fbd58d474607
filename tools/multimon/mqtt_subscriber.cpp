// SPDX-License-Identifier: GPL-3.0-or-later
#include "mqtt_subscriber.h"

#include "broker_link.h"
#include "mqtt_publisher.h"
#include "telegram_json.h"

#include <cstdio>
#include <utility>

namespace meldlux::multimon {

MqttSubscriber::MqttSubscriber(BrokerLink& link, const QString& site, QObject* parent)
    : QObject(parent), link_(link), topic_(MqttPublisher::telegramTopic(site)),
      statusTopic_(MqttPublisher::bridgeTopic(site)) {
  // Asked again on every connect: a broker that lost our session has lost the subscription too.
  connect(&link_, &BrokerLink::connected, this, [this] {
    link_.subscribe(topic_);
    link_.subscribe(statusTopic_);
  });
  connect(&link_, &BrokerLink::subscribed, this, [this] {
    if (!std::exchange(toldSubscribed_, true))
      std::fprintf(stderr, "meldlux-multimon: receiving %s\n", topic_.constData());
  });
  connect(&link_, &BrokerLink::received, this,
          [this](const QByteArray& topic, const QByteArray& payload) {
            if (topic == topic_)
              take(payload);
            else if (topic == statusTopic_)
              Q_EMIT bridgeStatus(payload);
          });
}

void MqttSubscriber::take(const QByteArray& payload) {
  const auto telegram = TelegramJson::decode(payload);
  if (!telegram) {
    ++unreadable_;
    return;
  }
  if (!seen_.firstTime(telegram->id)) {
    ++repeated_;
    return;
  }
  ++served_;
  Q_EMIT lineReceived(telegram->line);
}

} // namespace meldlux::multimon
