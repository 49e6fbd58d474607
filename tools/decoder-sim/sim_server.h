// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scenario.h"
#include "telegram_generator.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class QTcpSocket;

namespace meldlux::sim {

struct SimSettings {
  QHostAddress listen = QHostAddress::LocalHost;
  quint16 port = 7778;
  QString password;     // empty: no login needed
  double heartbeat = 0; // seconds between "#!XX!#" lines; 0 = none
  Scenario scenario;
  bool loop = false;
  double rate = 0; // generated telegrams per second; 0 = none
  TelegramGenerator::Format format = TelegramGenerator::Format::Mixed;
  double duration = 0; // seconds of generated traffic; 0 = until stopped
  quint32 seed = 1;
};

// The pretend decoder server: accepts clients, prints what they send, answers "Exit" by closing,
// and sends heartbeats, a scenario (to each client on its own) and generated traffic (to all).
class SimServer : public QObject {
  Q_OBJECT
public:
  explicit SimServer(SimSettings settings, QObject* parent = nullptr);
  ~SimServer() override;

  bool start(QString* error);
  void stop();

private:
  struct Client;

  void accept();
  void receive(Client& client);
  void handleLine(Client& client, const QByteArray& line);
  void logIn(Client& client);
  void playNext(Client& client);
  void sendHeartbeats();
  void generate();
  void send(Client& client, const QByteArray& bytes);
  void remove(QTcpSocket* socket);

  SimSettings settings_;
  QTcpServer server_;
  std::vector<std::unique_ptr<Client>> clients_;
  int nextId_ = 1;
  QTimer heartbeatTimer_;
  QTimer generateTimer_;
  QElapsedTimer generating_;
  qint64 generated_ = 0;
  TelegramGenerator generator_;
};

} // namespace meldlux::sim
