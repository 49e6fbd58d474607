// SPDX-License-Identifier: GPL-3.0-or-later
#include "mqtt_publisher.h"

#include "broker_link.h"
#include "receiver_state.h"
#include "telegram_json.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <cstdio>
#include <utility>

namespace meldlux::multimon {

MqttPublisher::MqttPublisher(BrokerLink& link, QString site, qsizetype queueCapacity,
                             QObject* parent)
    : QObject(parent), link_(link), site_(std::move(site)),
      // Ids stay unique across restarts of the bridge without any state on disk.
      runId_(QString::number(QRandomGenerator::system()->generate64(), 36)), queue_(queueCapacity) {
  connect(&link_, &BrokerLink::connected, this, &MqttPublisher::linkUp);
  connect(&link_, &BrokerLink::lost, this, &MqttPublisher::linkLost);
  connect(&link_, &BrokerLink::acknowledged, this, &MqttPublisher::acknowledged);
}

QByteArray MqttPublisher::bridgeTopic(const QString& site) {
  return "meldlux/" + site.toUtf8() + "/bridge";
}

QByteArray MqttPublisher::telegramTopic(const QString& site) {
  return "meldlux/" + site.toUtf8() + "/telegram";
}

void MqttPublisher::publish(const DecodedTelegram& telegram) {
  const QString id = runId_ + u'-' + QString::number(next_++);
  const QByteArray json =
      TelegramJson::encode(telegram, id, site_, QDateTime::currentDateTime());
  PublishQueue::Telegram messages{{telegramTopic(site_), json, false}};
  // Direction 0 is the vehicle's own report; a command to it is not its status.
  if (telegram.kind == DecodedTelegram::Kind::Fms &&
      telegram.fields.value(QStringLiteral("direction")).toInt() == 0)
    messages.append({"meldlux/" + site_.toUtf8() + "/fms/" +
                         telegram.fields.value(QStringLiteral("identifier")).toString().toUtf8(),
                     json, true});
  if (!queue_.push(std::move(messages)) && !toldFull_) {
    toldFull_ = true;
    std::fprintf(stderr,
                 "meldlux-multimon: the queue for the broker is full (%lld telegrams); dropping "
                 "the oldest until it is back\n",
                 qlonglong(queue_.capacity()));
  }
  pump();
}

void MqttPublisher::setStatus(const QByteArray& json) {
  if (json == status_)
    return;
  status_ = json;
  if (link_.isUp())
    link_.publish(bridgeTopic(site_), status_, true);
}

void MqttPublisher::pump() {
  while (link_.isUp() && inFlight_.size() < kInFlight && !queue_.empty()) {
    const PublishQueue::Telegram messages = queue_.takeFront();
    for (const MqttMessage& m : messages) {
      const int mid = link_.publish(m.topic, m.payload, m.retain);
      if (mid == 0)
        std::fprintf(stderr, "meldlux-multimon: the MQTT library refused a message for %s\n",
                     m.topic.constData());
      else if (!m.retain)
        inFlight_.insert(mid);
    }
  }
}

void MqttPublisher::linkUp() {
  link_.publish(bridgeTopic(site_), status_, true);
  const qint64 lostNow = queue_.dropped() - droppedBefore_;
  if (std::exchange(wasLost_, false) && (!queue_.empty() || lostNow > 0))
    std::fprintf(stderr,
                 "meldlux-multimon: sending %lld queued telegrams; %lld dropped (the oldest) while "
                 "the broker was away, %lld since the start\n",
                 qlonglong(queue_.size()), qlonglong(lostNow), qlonglong(queue_.dropped()));
  toldFull_ = false;
  pump();
}

void MqttPublisher::linkLost() {
  droppedBefore_ = queue_.dropped();
  wasLost_ = true;
}

void MqttPublisher::acknowledged(int mid) {
  if (inFlight_.remove(mid))
    ++acknowledged_;
  pump();
}

void MqttPublisher::sayOffline() {
  if (link_.isUp())
    link_.publish(bridgeTopic(site_), ReceiverState::offlineJson(), true);
}

} // namespace meldlux::multimon
