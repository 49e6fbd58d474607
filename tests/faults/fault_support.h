// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/e2e_support.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <sys/socket.h>

// What the fault-injection tests share: a decoder server the test plays itself on loopback, the
// program's memory from /proc, and the event log's tick lines, which show the event loop turning.
namespace meldlux::faults {

using namespace meldlux::e2e;

constexpr bool kSanitized = MELDLUX_SANITIZED;

// A field of /proc/PID/status in kB (VmRSS, VmHWM); -1 when the process is gone.
inline long statusKb(qint64 pid, const char* field) {
  QFile file(QStringLiteral("/proc/%1/status").arg(pid));
  if (!file.open(QIODevice::ReadOnly))
    return -1;
  const QByteArray prefix = QByteArray(field) + ':';
  for (const QByteArray& line : file.readAll().split('\n'))
    if (line.startsWith(prefix))
      return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
  return -1;
}

// The milliseconds of every tick line in the log, in order.
inline QList<qint64> ticks(const QString& log) {
  static const QRegularExpression tick(QStringLiteral("^tick\\t(\\d+)$"),
                                       QRegularExpression::MultilineOption);
  QList<qint64> out;
  for (auto it = tick.globalMatch(log); it.hasNext();)
    out.append(it.next().captured(1).toLongLong());
  return out;
}

// The longest time between two ticks that both lie at or after fromMs.
inline qint64 longestGap(const QList<qint64>& ticks, qint64 fromMs = 0) {
  qint64 longest = 0;
  for (qsizetype i = 1; i < ticks.size(); ++i)
    if (ticks[i - 1] >= fromMs)
      longest = std::max(longest, ticks[i] - ticks[i - 1]);
  return longest;
}

inline qint64 lastTick(const QString& log) {
  const QList<qint64> all = ticks(log);
  return all.isEmpty() ? -1 : all.last();
}

// The environment that makes the program's clock, and with it every timer, run `rate` times as
// fast as the real one, from `offsetSeconds` away from it. Only the program gets it; the test
// keeps real time.
inline QProcessEnvironment
fastClock(int rate, QProcessEnvironment env = QProcessEnvironment::systemEnvironment(),
          qint64 offsetSeconds = 0) {
  env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(MELDLUX_LIBFAKETIME));
  env.insert(QStringLiteral("FAKETIME"), QString::asprintf("%+lld x%d", offsetSeconds, rate));
  // A sanitizer build wants its own runtime first; the preload comes before it.
  env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                 QStringLiteral(":verify_asan_link_order=0"));
  return env;
}

inline bool fastClockAvailable() { return QFileInfo::exists(QStringLiteral(MELDLUX_LIBFAKETIME)); }

inline QProcessEnvironment
withTicks(int periodMs, QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
  env.insert(QStringLiteral("MELDLUX_EVENT_LOG_TICK_MS"), QString::number(periodMs));
  return env;
}

// The decoder server as the test plays it: one listening port on 127.0.0.1 that can be closed
// and opened again, and the one client connection.
class PeerServer {
public:
  bool listen(quint16 port = 0) {
    server_ = std::make_unique<QTcpServer>();
    if (!server_->listen(QHostAddress::LocalHost, port))
      return false;
    port_ = server_->serverPort();
    return true;
  }
  quint16 port() const { return port_; }
  void stopListening() { server_.reset(); }

  // Waits for the program to connect; the connection then belongs to this server.
  QTcpSocket* accept(int milliseconds) {
    if (!server_ || !server_->waitForNewConnection(milliseconds))
      return nullptr;
    client_.reset(server_->nextPendingConnection());
    client_->setParent(nullptr);
    return client_.get();
  }
  QTcpSocket* client() const { return client_.get(); }

  // Writes everything and waits until the system has taken it; calls `meanwhile` between writes.
  bool send(const QByteArray& bytes, int milliseconds = 20000,
            const std::function<void()>& meanwhile = {}) {
    if (!client_)
      return false;
    client_->write(bytes);
    QDeadlineTimer deadline(milliseconds);
    while (client_->bytesToWrite() > 0) {
      if (deadline.hasExpired() || client_->state() != QAbstractSocket::ConnectedState)
        return false;
      client_->waitForBytesWritten(20);
      if (meanwhile)
        meanwhile();
    }
    return true;
  }

  // What the program sent so far, after waiting up to `milliseconds` for more.
  QByteArray received(int milliseconds = 0) {
    if (!client_)
      return {};
    if (milliseconds > 0)
      client_->waitForReadyRead(milliseconds);
    received_ += client_->readAll();
    return received_;
  }

  // An orderly close: the program sees the end of the stream.
  void close() {
    if (client_) {
      client_->disconnectFromHost();
      if (client_->state() != QAbstractSocket::UnconnectedState)
        client_->waitForDisconnected(2000);
    }
    client_.reset();
    received_.clear();
  }

  // A reset: with lingering on and a time of 0, closing sends RST instead of FIN.
  void reset() {
    if (client_) {
      const linger abort{1, 0};
      ::setsockopt(int(client_->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      client_->abort();
    }
    client_.reset();
    received_.clear();
  }

private:
  std::unique_ptr<QTcpServer> server_;
  std::unique_ptr<QTcpSocket> client_;
  QByteArray received_;
  quint16 port_ = 0;
};

// A store that connects to the test's server by itself; `more` may add keys to either section.
inline QString settingsFor(quint16 port, const QString& more = {}) {
  return QStringLiteral("[Einstellungen]\nAutoConnect=1\nMsgLines=5\n[Server]\n"
                        "Adresse=127.0.0.1\nPort=%1\nPW=geheim\n%2")
      .arg(port)
      .arg(more);
}

// A settings store as the program writes it: only "[section]" and "key=value" lines, holding the
// keys every save writes. Keys the program does not know are kept as they were, whatever they are.
inline ::testing::AssertionResult validSettingsStore(const QString& text) {
  if (text.isEmpty())
    return ::testing::AssertionFailure() << "empty store";
  for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
    const bool section = line.startsWith(u'[') && line.endsWith(u']');
    if (!section && !line.contains(u'='))
      return ::testing::AssertionFailure() << "line " << line.toStdString();
  }
  for (const char* key : {"[Server]", "Adresse=", "Port=", "[Einstellungen]",
                          "AutoConnect=", "MsgLines=", "FormVisible="})
    if (!text.contains(QString::fromLatin1(key)))
      return ::testing::AssertionFailure() << "no " << key << " in\n" << text.toStdString();
  return ::testing::AssertionSuccess();
}

} // namespace meldlux::faults
