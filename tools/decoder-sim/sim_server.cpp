// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_server.h"

#include "base/cp1252.h"

#include <QDateTime>
#include <QTcpSocket>
#include <cstdio>

namespace meldlux::sim {

namespace {

void print(const QString& line) {
  std::fputs(line.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

} // namespace

struct SimServer::Client {
  int id = 0;
  QTcpSocket* socket = nullptr;
  QByteArray pending; // received bytes after the last CR LF
  bool loggedIn = false;
  std::size_t nextStep = 0;
  QTimer pause;
};

SimServer::SimServer(SimSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)),
      generator_(settings_.format, settings_.seed) {
  connect(&server_, &QTcpServer::newConnection, this, &SimServer::accept);
  connect(&heartbeatTimer_, &QTimer::timeout, this, &SimServer::sendHeartbeats);
  connect(&generateTimer_, &QTimer::timeout, this, &SimServer::generate);
  generateTimer_.setInterval(10);
}

SimServer::~SimServer() { stop(); }

bool SimServer::start(QString* error) {
  if (!server_.listen(settings_.listen, settings_.port)) {
    *error = server_.errorString();
    return false;
  }
  if (settings_.heartbeat > 0)
    heartbeatTimer_.start(int(settings_.heartbeat * 1000));
  print(QStringLiteral("listening on %1:%2")
            .arg(settings_.listen.toString())
            .arg(server_.serverPort()));
  return true;
}

void SimServer::stop() {
  heartbeatTimer_.stop();
  generateTimer_.stop();
  server_.close();
  for (auto& client : clients_) {
    client->socket->disconnect(this);
    client->socket->abort();
    client->socket->deleteLater();
  }
  clients_.clear();
}

void SimServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    auto client = std::make_unique<Client>();
    client->id = nextId_++;
    client->socket = socket;
    client->pause.setSingleShot(true);
    Client& ref = *client;
    clients_.push_back(std::move(client));
    print(QStringLiteral("client %1 connected from %2:%3")
              .arg(ref.id)
              .arg(socket->peerAddress().toString())
              .arg(socket->peerPort()));
    connect(socket, &QTcpSocket::readyRead, this, [this, &ref] { receive(ref); });
    // Queued: a close we start ourselves must not pull the client away under our feet.
    connect(
        socket, &QTcpSocket::disconnected, this, [this, socket] { remove(socket); },
        Qt::QueuedConnection);
    connect(&ref.pause, &QTimer::timeout, this, [this, &ref] { playNext(ref); });
    if (settings_.password.isEmpty())
      logIn(ref);
  }
}

void SimServer::receive(Client& client) {
  const QByteArray bytes = client.socket->readAll();
  if (bytes.isEmpty())
    return;
  print(QStringLiteral("recv %1: %2").arg(client.id).arg(escapeBytes(bytes)));
  client.pending += bytes;
  qsizetype end;
  while ((end = client.pending.indexOf("\r\n")) >= 0) {
    const QByteArray line = client.pending.left(end);
    client.pending.remove(0, end + 2);
    handleLine(client, line);
    if (client.socket->state() != QAbstractSocket::ConnectedState)
      return;
  }
  if (client.pending.size() > 65536) // a client that never ends a line
    client.pending.clear();
}

void SimServer::handleLine(Client& client, const QByteArray& line) {
  if (line == "Exit") {
    print(QStringLiteral("client %1 said Exit: closing").arg(client.id));
    client.pause.stop();
    client.socket->disconnectFromHost();
  } else if (line.startsWith("PASS:") && !client.loggedIn && !settings_.password.isEmpty()) {
    if (cp1252::decode(line.mid(5)) == settings_.password) {
      logIn(client);
    } else {
      print(QStringLiteral("client %1: wrong password, closing").arg(client.id));
      client.socket->disconnectFromHost();
    }
  }
}

void SimServer::logIn(Client& client) {
  client.loggedIn = true;
  print(QStringLiteral("client %1 logged in").arg(client.id));
  if (!settings_.scenario.steps.empty())
    playNext(client);
  if (settings_.rate > 0 && !generating_.isValid()) {
    generating_.start();
    generateTimer_.start();
  }
}

void SimServer::playNext(Client& client) {
  const auto& steps = settings_.scenario.steps;
  while (client.socket->state() == QAbstractSocket::ConnectedState) {
    if (client.nextStep >= steps.size()) {
      if (!settings_.loop)
        return;
      client.nextStep = 0;
    }
    const ScenarioStep& step = steps[client.nextStep++];
    if (step.pauseMs > 0 || step.bytes.isEmpty()) {
      // Even a zero pause gives the event loop a turn, so a looping scenario of pauses only
      // cannot lock the simulator up.
      client.pause.start(step.pauseMs);
      return;
    }
    send(client, step.bytes);
  }
}

void SimServer::sendHeartbeats() {
  for (auto& client : clients_)
    if (client->loggedIn)
      send(*client, "#!XX!#\r\n");
}

void SimServer::generate() {
  const double seconds = generating_.elapsed() / 1000.0;
  const bool last = settings_.duration > 0 && seconds >= settings_.duration;
  const double until = last ? settings_.duration : seconds;
  const qint64 due = qint64(settings_.rate * until) - generated_;
  QByteArray batch;
  const QDateTime now = QDateTime::currentDateTime();
  for (qint64 i = 0; i < due; ++i)
    batch += cp1252::encode(generator_.next(now)) + "\r\n";
  generated_ += due;
  if (!batch.isEmpty())
    for (auto& client : clients_)
      if (client->loggedIn)
        send(*client, batch);
  if (last) {
    generateTimer_.stop();
    print(QStringLiteral("generated %1 telegrams in %2 s").arg(generated_).arg(settings_.duration));
  }
}

void SimServer::send(Client& client, const QByteArray& bytes) {
  if (client.socket->state() == QAbstractSocket::ConnectedState)
    client.socket->write(bytes);
}

void SimServer::remove(QTcpSocket* socket) {
  for (auto it = clients_.begin(); it != clients_.end(); ++it) {
    if ((*it)->socket == socket) {
      print(QStringLiteral("client %1 closed").arg((*it)->id));
      socket->disconnect(this);
      socket->deleteLater();
      clients_.erase(it);
      return;
    }
  }
}

} // namespace meldlux::sim
