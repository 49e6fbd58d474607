// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "broker_link.h"
#include "mqtt_url.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>

struct mosquitto;
struct mosquitto_message;

namespace meldlux::multimon {

// One connection to an MQTT broker through libmosquitto. The library's own thread does the
// network, reconnects after 1 s, doubling to 30 s, and sends again what the broker had not yet
// acknowledged; everything it reports arrives here as queued signals on this object's thread.
// It says once on stderr when the broker goes and once when it is back, never per message. A
// broker that refuses the login is not asked again: that would only repeat the refusal.
class MqttLink : public BrokerLink {
  Q_OBJECT
public:
  struct Options {
    MqttUrl url;
    QString clientId;
    bool cleanSession = true; // false: the broker keeps our subscriptions and messages while away
    QString user;
    QString password;
    QString caFile; // for mqtts; empty: the system's certificates
    QByteArray willTopic; // empty: no last will
    QByteArray willPayload;
    int keepAliveSeconds = 20;
  };

  explicit MqttLink(Options options, QObject* parent = nullptr);
  ~MqttLink() override;

  bool start(QString* error);
  // Sends a DISCONNECT (so no last will) after what is queued, and ends the library's thread.
  void stop();
  bool isUp() const override { return up_; }

  // QoS 1. Handed over while the broker is away, a message waits in the library until it is back.
  // Returns the message id, or 0 when the library refused it (too big, out of memory).
  int publish(const QByteArray& topic, const QByteArray& payload, bool retain) override;
  bool subscribe(const QByteArray& topic) override;

private:
  static void onConnect(mosquitto*, void* self, int rc);
  static void onDisconnect(mosquitto*, void* self, int rc);
  static void onPublish(mosquitto*, void* self, int mid);
  static void onSubscribe(mosquitto*, void* self, int mid, int count, const int* granted);
  static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
  static void onLog(mosquitto*, void* self, int level, const char* text);

  void wentUp();
  void wentDown(const QString& reason);

  Options options_;
  mosquitto* mosq_ = nullptr;
  bool up_ = false;
  bool everUp_ = false;
  bool reportedDown_ = false;
  bool threadRunning_ = false;
  std::atomic<bool> stopping_{false};
};

} // namespace meldlux::multimon
