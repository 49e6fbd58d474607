// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/multimon_run.h"

#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <mosquitto.h>
#include <vector>

// A real mosquitto of the test's own on 127.0.0.1 and a free port, with its configuration,
// persistence and log in the test's folder; killed when the test ends, also on failure.
namespace meldlux::mqtt_test {

class MosquittoBroker {
public:
  explicit MosquittoBroker(const QString& folder)
      : folder_(folder), port_(decoder_test::freePort()) {}
  ~MosquittoBroker() { kill(); }

  // `listenerLines` go below the listener line: TLS files, a password file.
  bool start(const QString& listenerLines = QStringLiteral("allow_anonymous true\n")) {
    const QString config = QDir(folder_).filePath(QStringLiteral("mosquitto.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
      return false;
    // Saved every second, so a killed broker comes back knowing the subscribers' sessions.
    file.write(QStringLiteral("user root\npersistence true\npersistence_location %1/\n"
                              "autosave_interval 1\nlog_dest file %1/mosquitto.log\n"
                              "per_listener_settings true\nlistener %2 127.0.0.1\n%3")
                   .arg(folder_)
                   .arg(port_)
                   .arg(listenerLines)
                   .toUtf8());
    file.close();
    config_ = config;
    return restart();
  }

  // Starts it again on the same port and files (after kill()).
  bool restart() {
    process_.start(QStringLiteral("mosquitto"), {QStringLiteral("-c"), config_});
    if (!process_.waitForStarted())
      return false;
    return e2e::waitFor(
        [&] {
          QTcpSocket probe;
          probe.connectToHost(QHostAddress::LocalHost, port_);
          return probe.waitForConnected(200);
        },
        10000);
  }

  // Waits for a save of the sessions begun after `moment`: a broker killed after it comes back
  // knowing everything up to then, however slowly a loaded machine runs it.
  bool savedSince(const QDateTime& moment, int timeoutMs = 10000) const {
    const QString db = QDir(folder_).filePath(QStringLiteral("mosquitto.db"));
    return e2e::waitFor([&] { return QFileInfo(db).lastModified() > moment; }, timeoutMs);
  }

  void kill() {
    if (process_.state() == QProcess::NotRunning)
      return;
    process_.kill();
    process_.waitForFinished(5000);
  }

  quint16 port() const { return port_; }
  QString url(const char* scheme = "mqtt") const {
    return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(port_);
  }
  QString log() const { return e2e::readAll(QDir(folder_).filePath(QStringLiteral("mosquitto.log"))); }

private:
  QString folder_;
  quint16 port_;
  QString config_;
  QProcess process_;
};

struct SeenMessage {
  QByteArray topic;
  QByteArray payload;
  bool retained = false;
};

// What a plain subscriber that comes now sees on `filter` within `milliseconds`: straight
// libmosquitto, so it checks the bridge with other code than the bridge's own.
inline std::vector<SeenMessage> subscribeFor(quint16 port, const char* filter, int milliseconds) {
  std::vector<SeenMessage> seen;
  mosquitto_lib_init();
  mosquitto* client = mosquitto_new(nullptr, true, &seen);
  mosquitto_message_callback_set(client, [](mosquitto*, void* out, const mosquitto_message* m) {
    static_cast<std::vector<SeenMessage>*>(out)->push_back(
        {QByteArray(m->topic),
         QByteArray(static_cast<const char*>(m->payload), m->payloadlen), m->retain});
  });
  if (mosquitto_connect(client, "127.0.0.1", port, 10) == MOSQ_ERR_SUCCESS &&
      mosquitto_subscribe(client, nullptr, filter, 1) == MOSQ_ERR_SUCCESS) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired())
      mosquitto_loop(client, 50, 1);
    mosquitto_disconnect(client);
  } else {
    ADD_FAILURE() << "no subscriber connection to the broker on port " << port;
  }
  mosquitto_destroy(client);
  return seen;
}

} // namespace meldlux::mqtt_test
