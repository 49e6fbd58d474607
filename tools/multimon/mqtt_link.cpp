// SPDX-License-Identifier: GPL-3.0-or-later
#include "mqtt_link.h"

#include <QMetaObject>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mosquitto.h>

namespace meldlux::multimon {

namespace {

void initLibraryOnce() {
  static const int done = mosquitto_lib_init();
  (void)done;
}

QString connackReason(int rc) {
  return QString::fromUtf8(mosquitto_connack_string(rc));
}

} // namespace

MqttLink::MqttLink(Options options, QObject* parent)
    : BrokerLink(parent), options_(std::move(options)) {
  initLibraryOnce();
}

MqttLink::~MqttLink() {
  stop();
  if (mosq_ != nullptr)
    mosquitto_destroy(mosq_);
}

bool MqttLink::start(QString* error) {
  const QByteArray id = options_.clientId.toUtf8();
  mosq_ = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), options_.cleanSession, this);
  if (mosq_ == nullptr) {
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  mosquitto_int_option(mosq_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
  mosquitto_connect_callback_set(mosq_, &MqttLink::onConnect);
  mosquitto_disconnect_callback_set(mosq_, &MqttLink::onDisconnect);
  mosquitto_publish_callback_set(mosq_, &MqttLink::onPublish);
  mosquitto_subscribe_callback_set(mosq_, &MqttLink::onSubscribe);
  mosquitto_message_callback_set(mosq_, &MqttLink::onMessage);
  mosquitto_log_callback_set(mosq_, &MqttLink::onLog);
  mosquitto_reconnect_delay_set(mosq_, 1, 30, true);
  int rc = MOSQ_ERR_SUCCESS;
  if (!options_.user.isEmpty())
    rc = mosquitto_username_pw_set(mosq_, options_.user.toUtf8().constData(),
                                   options_.password.isEmpty()
                                       ? nullptr
                                       : options_.password.toUtf8().constData());
  if (rc == MOSQ_ERR_SUCCESS && !options_.willTopic.isEmpty())
    rc = mosquitto_will_set(mosq_, options_.willTopic.constData(),
                            int(options_.willPayload.size()), options_.willPayload.constData(), 1,
                            true);
  if (rc == MOSQ_ERR_SUCCESS && options_.url.tls) {
    const QByteArray ca = options_.caFile.toLocal8Bit();
    rc = mosquitto_tls_set(mosq_, ca.isEmpty() ? nullptr : ca.constData(),
                           ca.isEmpty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr, nullptr);
  }
  if (rc != MOSQ_ERR_SUCCESS) {
    *error = QString::fromUtf8(mosquitto_strerror(rc));
    return false;
  }
  rc = mosquitto_connect_async(mosq_, options_.url.host.toUtf8().constData(), options_.url.port,
                               options_.keepAliveSeconds);
  if (rc != MOSQ_ERR_SUCCESS) {
    // Not fatal: the library's thread keeps trying, and the broker may well start later.
    wentDown(rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(std::strerror(errno))
                                  : QString::fromUtf8(mosquitto_strerror(rc)));
  }
  rc = mosquitto_loop_start(mosq_);
  if (rc != MOSQ_ERR_SUCCESS) {
    *error = QString::fromUtf8(mosquitto_strerror(rc));
    return false;
  }
  threadRunning_ = true;
  return true;
}

void MqttLink::stop() {
  if (!threadRunning_)
    return;
  stopping_ = true;
  mosquitto_disconnect(mosq_);
  mosquitto_loop_stop(mosq_, false);
  threadRunning_ = false;
  up_ = false;
}

int MqttLink::publish(const QByteArray& topic, const QByteArray& payload, bool retain) {
  if (mosq_ == nullptr)
    return 0;
  int mid = 0;
  const int rc = mosquitto_publish(mosq_, &mid, topic.constData(), int(payload.size()),
                                   payload.constData(), 1, retain);
  // Without a connection the library keeps the message and sends it after the reconnect.
  return rc == MOSQ_ERR_SUCCESS || rc == MOSQ_ERR_NO_CONN ? mid : 0;
}

bool MqttLink::subscribe(const QByteArray& topic) {
  return mosq_ != nullptr &&
         mosquitto_subscribe(mosq_, nullptr, topic.constData(), 1) == MOSQ_ERR_SUCCESS;
}

void MqttLink::wentUp() {
  const char* how = everUp_ ? "the broker at %s is back" : "connected to the broker at %s";
  std::fprintf(stderr, "meldlux-multimon: ");
  std::fprintf(stderr, how, qPrintable(options_.url.toString()));
  std::fputc('\n', stderr);
  up_ = true;
  everUp_ = true;
  reportedDown_ = false;
  Q_EMIT connected();
}

void MqttLink::wentDown(const QString& reason) {
  const bool wasUp = up_;
  up_ = false;
  if (!reportedDown_) {
    reportedDown_ = true;
    std::fprintf(stderr, "meldlux-multimon: %s the broker at %s (%s); trying again\n",
                 everUp_ ? "lost" : "cannot reach", qPrintable(options_.url.toString()),
                 qPrintable(reason));
  }
  if (wasUp)
    Q_EMIT lost();
}

// The callbacks run on the library's thread: each hands its news to this object's thread.

void MqttLink::onConnect(mosquitto* mosq, void* self, int rc) {
  auto* link = static_cast<MqttLink*>(self);
  if (rc != 0) {
    // Ends the library's reconnecting: asking again with the same login gets the same answer.
    mosquitto_disconnect(mosq);
    QMetaObject::invokeMethod(
        link,
        [link, rc] {
          link->up_ = false;
          std::fprintf(stderr, "meldlux-multimon: the broker at %s refused us: %s; giving up\n",
                       qPrintable(link->options_.url.toString()), qPrintable(connackReason(rc)));
          Q_EMIT link->refused(connackReason(rc));
        },
        Qt::QueuedConnection);
    return;
  }
  QMetaObject::invokeMethod(link, [link] { link->wentUp(); }, Qt::QueuedConnection);
}

void MqttLink::onDisconnect(mosquitto*, void* self, int rc) {
  auto* link = static_cast<MqttLink*>(self);
  if (rc == 0 || link->stopping_)
    return; // our own goodbye
  const QString reason = QString::fromUtf8(mosquitto_strerror(rc));
  QMetaObject::invokeMethod(link, [link, reason] { link->wentDown(reason); },
                            Qt::QueuedConnection);
}

void MqttLink::onPublish(mosquitto*, void* self, int mid) {
  auto* link = static_cast<MqttLink*>(self);
  QMetaObject::invokeMethod(link, [link, mid] { Q_EMIT link->acknowledged(mid); },
                            Qt::QueuedConnection);
}

void MqttLink::onSubscribe(mosquitto*, void* self, int, int, const int*) {
  auto* link = static_cast<MqttLink*>(self);
  QMetaObject::invokeMethod(link, [link] { Q_EMIT link->subscribed(); }, Qt::QueuedConnection);
}

void MqttLink::onMessage(mosquitto*, void* self, const mosquitto_message* message) {
  auto* link = static_cast<MqttLink*>(self);
  const QByteArray topic(message->topic);
  const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
  QMetaObject::invokeMethod(
      link, [link, topic, payload] { Q_EMIT link->received(topic, payload); },
      Qt::QueuedConnection);
}

void MqttLink::onLog(mosquitto*, void* self, int level, const char* text) {
  // A failed TLS handshake is only told here; it counts as the broker being out of reach.
  if (level != MOSQ_LOG_ERR || text == nullptr)
    return;
  auto* link = static_cast<MqttLink*>(self);
  const QString reason = QString::fromUtf8(text);
  QMetaObject::invokeMethod(
      link,
      [link, reason] {
        if (!link->stopping_)
          link->wentDown(reason);
      },
      Qt::QueuedConnection);
}

} // namespace meldlux::multimon
