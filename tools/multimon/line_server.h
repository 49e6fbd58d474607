// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <memory>
#include <vector>

class QTcpSocket;

namespace meldlux::multimon {

// Serves telegram lines the way a decoder server does: any number of clients, each line to every
// logged-in client in Windows-1252 with CR LF, heartbeats, an optional "PASS:" login and "Exit".
// A client that does not read has its own bounded queue; when it overflows, that client is closed.
class LineServer : public QObject {
  Q_OBJECT
public:
  struct Options {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 7778;
    QString password;          // empty: no login
    int heartbeatMs = 10'000;  // 0: none
    qint64 queueBytes = 256 * 1024;
    int loginTimeoutMs = 10'000;
    bool verbose = false;
  };

  explicit LineServer(Options options, QObject* parent = nullptr);
  ~LineServer() override;

  bool listen(QString* error);
  quint16 port() const { return server_.serverPort(); }
  void stop();
  std::size_t clientCount() const { return clients_.size(); }

  // What each heartbeat says after its marker (no line end); by default the marker alone.
  void setHeartbeatLine(const QByteArray& line) { heartbeatLine_ = line; }

public Q_SLOTS:
  void sendLine(const QString& line);

private:
  struct Client;

  void accept();
  void receive(Client& client);
  void send(Client& client, const QByteArray& bytes);
  void drop(Client& client, const char* why);
  void remove(QTcpSocket* socket);
  void sendHeartbeats();

  Options options_;
  QTcpServer server_;
  QTimer heartbeat_;
  std::vector<std::unique_ptr<Client>> clients_;
  int nextId_ = 1;
  QByteArray heartbeatLine_ = QByteArrayLiteral("#!XX!#");
};

} // namespace meldlux::multimon
