// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/e2e_support.h"

#include "base/cp1252.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>

// The generator's audio through the real multimon-ng, for the bridge's tests.
namespace meldlux::decoder_test {

// A port below the system's ephemeral range (32768 and up on Linux): a port the system hands out
// can go, between this probe and the listen of the process started with it, to any test's
// outgoing connection, and the process then cannot serve; one chosen here only to another probe.
inline quint16 freePort() {
  for (int attempt = 0; attempt < 200; ++attempt) {
    QTcpServer probe;
    const auto port = quint16(20000 + QRandomGenerator::global()->bounded(12000));
    if (probe.listen(QHostAddress::LocalHost, port))
      return port;
  }
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

// A meldlux-multimon of the test's own, serving on a free port, its stderr in a file, its standard
// input open for lines written by the test.
class BridgeRun {
public:
  explicit BridgeRun(const QString& errorFile) : errorFile_(errorFile) {}
  ~BridgeRun() {
    process.terminate();
    if (!process.waitForFinished(5000))
      process.kill();
    process.waitForFinished(1000);
  }

  // Waits until it serves, unless it is not meant to (a bridge that gives up).
  bool start(const QStringList& arguments, const QProcessEnvironment& env =
                                               QProcessEnvironment::systemEnvironment(),
             bool waitForServing = true) {
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(errorFile_);
    process.start(e2e::binary("meldlux-multimon"),
                  QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)} +
                      arguments);
    return process.waitForStarted() &&
           (!waitForServing || e2e::waitFor(
                                   [&] {
                                     QTcpSocket probe;
                                     probe.connectToHost(QHostAddress::LocalHost, port);
                                     return probe.waitForConnected(200);
                                   },
                                   10000));
  }
  void writeLine(const QString& line) {
    process.write(line.toUtf8() + '\n');
    process.waitForBytesWritten(1000);
  }
  QString errors() const { return e2e::readAll(errorFile_); }
  bool said(const QString& text, int milliseconds) const {
    return e2e::waitFor([&] { return errors().contains(text); }, milliseconds);
  }

  QProcess process;
  quint16 port = freePort();

private:
  QString errorFile_;
};

// A plain client of a bridge: logs in and collects the telegram lines (heartbeats left out, but
// timed).
class LineClient {
public:
  bool connectTo(quint16 port, const QByteArray& password = {}) {
    socket_.connectToHost(QHostAddress::LocalHost, port);
    if (!socket_.waitForConnected(5000))
      return false;
    if (!password.isEmpty())
      socket_.write("PASS:" + password + "\r\n");
    return socket_.flush() || password.isEmpty();
  }
  const QStringList& lines() {
    socket_.waitForReadyRead(20);
    pending_ += socket_.readAll();
    qsizetype end;
    while ((end = pending_.indexOf("\r\n")) >= 0) {
      const QByteArray line = pending_.left(end);
      pending_.remove(0, end + 2);
      if (line.startsWith("#!XX!#"))
        heartbeat();
      else
        lines_ << cp1252::decode(line);
    }
    return lines_;
  }
  // The longest time between two heartbeats seen by lines().
  qint64 longestHeartbeatGap() const { return longestGap_; }
  bool waitForLines(qsizetype count, int milliseconds) {
    return e2e::waitFor([&] { return lines().size() >= count; }, milliseconds);
  }

private:
  void heartbeat() {
    if (sinceHeartbeat_.isValid())
      longestGap_ = std::max(longestGap_, sinceHeartbeat_.elapsed());
    sinceHeartbeat_.start();
  }

  QTcpSocket socket_;
  QByteArray pending_;
  QStringList lines_;
  QElapsedTimer sinceHeartbeat_;
  qint64 longestGap_ = 0;
};

inline QString multimonCommand() {
  return QStringLiteral("multimon-ng -q -t raw -a POCSAG512 -a POCSAG1200 -a POCSAG2400 "
                        "-a ZVEI1 -a FMSFSK -");
}

inline QString shellQuote(const QString& text) {
  QString quoted = text;
  quoted.replace(u'\'', QStringLiteral("'\\''"));
  return u'\'' + quoted + u'\'';
}

// The shell pipeline that plays these scenario lines into multimon-ng.
inline QString pipeline(const QStringList& lines, const QStringList& generatorOptions = {}) {
  QString command = shellQuote(e2e::binary("meldlux-signal-gen"));
  for (const QString& option : generatorOptions)
    command += u' ' + shellQuote(option);
  for (const QString& line : lines)
    command += u' ' + shellQuote(line);
  return command + QStringLiteral(" | ") + multimonCommand();
}

// multimon-ng's output lines for the scenario lines.
inline QStringList decode(const QStringList& lines, const QStringList& generatorOptions = {}) {
  QProcess shell;
  shell.start(QStringLiteral("/bin/sh"),
              {QStringLiteral("-c"), pipeline(lines, generatorOptions)});
  if (!shell.waitForFinished(60000))
    shell.kill();
  const QByteArray errors = shell.readAllStandardError();
  if (!errors.isEmpty())
    ADD_FAILURE() << errors.toStdString();
  return QString::fromUtf8(shell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace meldlux::decoder_test
