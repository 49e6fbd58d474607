// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_server.h"

#include "decoded_telegram.h"

#include "base/cp1252.h"

#include <QTcpSocket>
#include <cstdio>

namespace meldlux::multimon {

namespace {


} // namespace

struct LineServer::Client {
  int id = 0;
  QTcpSocket* socket = nullptr;
  QByteArray pending;
  bool loggedIn = false;
  bool closing = false;
  QTimer loginTimer;
};

LineServer::LineServer(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
  connect(&server_, &QTcpServer::newConnection, this, &LineServer::accept);
  connect(&heartbeat_, &QTimer::timeout, this, &LineServer::sendHeartbeats);
}

LineServer::~LineServer() { stop(); }

bool LineServer::listen(QString* error) {
  if (!server_.listen(options_.address, options_.port)) {
    *error = server_.errorString();
    return false;
  }
  if (options_.heartbeatMs > 0)
    heartbeat_.start(options_.heartbeatMs);
  return true;
}

void LineServer::stop() {
  heartbeat_.stop();
  server_.close();
  for (auto& client : clients_) {
    client->socket->disconnect(this);
    if (client->socket->state() == QAbstractSocket::ConnectedState) {
      client->socket->flush();
      client->socket->disconnectFromHost();
    }
    client->socket->deleteLater();
  }
  clients_.clear();
}

void LineServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    auto client = std::make_unique<Client>();
    client->id = nextId_++;
    client->socket = socket;
    client->loggedIn = options_.password.isEmpty();
    Client& ref = *client;
    clients_.push_back(std::move(client));
    if (options_.verbose)
      std::fprintf(stderr, "client %d connected from %s:%u\n", ref.id,
                   qPrintable(socket->peerAddress().toString()), socket->peerPort());
    connect(socket, &QTcpSocket::readyRead, this, [this, &ref] { receive(ref); });
    // Queued: a close started here must not take the client away under the caller's feet.
    connect(
        socket, &QTcpSocket::disconnected, this, [this, socket] { remove(socket); },
        Qt::QueuedConnection);
    if (!ref.loggedIn) {
      ref.loginTimer.setSingleShot(true);
      connect(&ref.loginTimer, &QTimer::timeout, this,
              [this, &ref] { drop(ref, "no password in time"); });
      ref.loginTimer.start(options_.loginTimeoutMs);
    }
  }
}

void LineServer::receive(Client& client) {
  client.pending += client.socket->readAll();
  qsizetype end;
  while (!client.closing && (end = client.pending.indexOf('\n')) >= 0) {
    QByteArray line = client.pending.left(end);
    client.pending.remove(0, end + 1);
    if (line.endsWith('\r'))
      line.chop(1);
    if (line == "Exit") {
      drop(client, nullptr);
    } else if (!client.loggedIn) {
      client.loginTimer.stop();
      if (line.startsWith("PASS:") && cp1252::decode(line.mid(5)) == options_.password) {
        client.loggedIn = true;
        if (options_.verbose)
          std::fprintf(stderr, "client %d logged in\n", client.id);
      } else {
        drop(client, "wrong or missing password");
      }
    }
  }
  if (client.pending.size() > kLongestLine) // a client that never ends a line
    client.pending.clear();
}

void LineServer::sendLine(const QString& line) {
  const QByteArray bytes = cp1252::encode(line) + "\r\n";
  for (auto& client : clients_)
    if (client->loggedIn)
      send(*client, bytes);
}

void LineServer::sendHeartbeats() {
  for (auto& client : clients_)
    if (client->loggedIn)
      send(*client, heartbeatLine_ + "\r\n");
}

void LineServer::send(Client& client, const QByteArray& bytes) {
  if (client.closing || client.socket->state() != QAbstractSocket::ConnectedState)
    return;
  // What the socket still holds is this client's queue: one that stops reading fills it.
  if (client.socket->bytesToWrite() + bytes.size() > options_.queueBytes) {
    std::fprintf(stderr, "meldlux-multimon: client %d (%s) does not read, closing it\n", client.id,
                 qPrintable(client.socket->peerAddress().toString()));
    client.closing = true;
    client.socket->abort();
    // Removed later: the caller is walking the client list.
    QTcpSocket* socket = client.socket;
    QMetaObject::invokeMethod(this, [this, socket] { remove(socket); }, Qt::QueuedConnection);
    return;
  }
  client.socket->write(bytes);
}

void LineServer::drop(Client& client, const char* why) {
  if (why != nullptr && options_.verbose)
    std::fprintf(stderr, "client %d: %s, closing\n", client.id, why);
  client.closing = true;
  client.loginTimer.stop();
  client.socket->disconnectFromHost();
}

void LineServer::remove(QTcpSocket* socket) {
  for (auto it = clients_.begin(); it != clients_.end(); ++it) {
    if ((*it)->socket == socket) {
      if (options_.verbose)
        std::fprintf(stderr, "client %d closed\n", (*it)->id);
      socket->disconnect(this);
      socket->deleteLater();
      clients_.erase(it);
      return;
    }
  }
}

} // namespace meldlux::multimon
