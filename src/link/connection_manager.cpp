// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/connection_manager.h"

#include "base/clock.h"
#include "base/cp1252.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "link/client_messages.h"
#include "link/peer_end.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <algorithm>
#include <exception>

namespace meldlux {

namespace {

// What the socket layer says when it is handed a port it cannot use; the request never leaves.
const QString kBadPort = QStringLiteral("Ungültiger Eigenschaftswert (Port)");
const QString kBadHost = QStringLiteral("Ungültiger Eigenschaftswert (Adresse)");

QString describe(const std::exception& e) {
  if (const auto* failure = dynamic_cast<const Failure*>(&e))
    return failure->description();
  return QString::fromLocal8Bit(e.what());
}

} // namespace

ConnectionManager::ConnectionManager(Options& options, LinkState& link, StatusLabel& status,
                                     const Clock& clock, EventLog& log, QObject* parent)
    : QObject(parent), options_(options), link_(link), status_(status), clock_(clock), log_(log),
      socket_(new QTcpSocket(this)) {
  leftOver_.setSingleShot(true);
  leftOver_.setInterval(50);
  connect(&leftOver_, &QTimer::timeout, this, &ConnectionManager::readLeftOver);
  connect(socket_, &QTcpSocket::connected, this, &ConnectionManager::Winsock2_Connect);
  connect(socket_, &QTcpSocket::readyRead, this, &ConnectionManager::onReadyRead);
  connect(socket_, &QTcpSocket::errorOccurred, this, &ConnectionManager::onSocketError);

  // Timer1 starts with the short interval and runs exactly while auto-connect is ticked.
  timer1_.setInterval(kFirstCheckMs);
  connect(&timer1_, &QTimer::timeout, this, &ConnectionManager::Timer1_Timer);
  connect(&options_, &Options::clicked, this, [this](Check box) {
    if (box == Check::chkAuto)
      chkAuto_Click();
  });
  chkAuto_Click();
}

ConnectionManager::~ConnectionManager() { closeSocket(); }

bool ConnectionManager::isConnected() const {
  return socket_->state() == QAbstractSocket::ConnectedState;
}

bool ConnectionManager::isClosed() const {
  return socket_->state() == QAbstractSocket::UnconnectedState;
}

QAbstractSocket::SocketState ConnectionManager::socketState() const { return socket_->state(); }

void ConnectionManager::cmdStatus_Click() {
  if (isClosed()) {
    userDisconnected_ = false;
    // The button has no error trap of its own; a request refused on the spot is shown the way
    // the timer shows it, so the user sees why nothing happens.
    try {
      connectRequest();
    } catch (const std::exception& e) {
      status_.set(QStringLiteral("Err:") + describe(e), StatusLabel::kRed);
    }
  } else if (isConnected()) {
    userDisconnected_ = true;
    send(client_messages::disconnectRequest()); // the server closes; that event does the rest
  } else {
    userDisconnected_ = true;
    closeSocket();
    Q_EMIT linkDown(true);
  }
}

void ConnectionManager::chkAuto_Click() {
  if (options_.checked(Check::chkAuto))
    timer1_.start();
  else
    timer1_.stop();
}

void ConnectionManager::setCarrySplitLines(bool carry) {
  carrySplitLines_ = carry;
  carry_.clear();
}

void ConnectionManager::Timer1_Timer() {
  try {
    if (timer1_.interval() < 10000)
      timer1_.setInterval(kCheckMs);

    options_.txtKeepalive_LostFocus(); // the same two range rules as leaving the box

    // A refused keepalive is an error like any other: the reconnect waits for the next check.
    bool refused = false;
    const double keepalive = options_.number(Text::txtKeepalive);
    if (keepalive > 0) {
      const std::int32_t seconds = roundToInt32(clock_.secondsSinceMidnight());
      const std::int32_t period = roundToInt32(keepalive);
      if (period == 0)
        throw Failure(QStringLiteral("Division durch Null"));
      const double silentFor = (clock_.now() - link_.LastReceived) * kSecondsPerDay;
      if (seconds % period < 30 && isConnected() && silentFor > keepalive - 30)
        refused = !send(client_messages::keepalive());
    }

    if (!refused && options_.checked(Check::chkAuto) && !isConnected()) {
      closeSocket();
      connectRequest();
    }
  } catch (const std::exception& e) {
    status_.set(QStringLiteral("Err:") + describe(e), StatusLabel::kRed);
  }
}

void ConnectionManager::Shutdown() {
  try {
    if (!isConnected())
      return;
    send(client_messages::shutdownNotice());
    send(client_messages::disconnectRequest());
    // Let the socket deliver both lines (and whatever else is pending) before closing.
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() <= 200) {
      QEventLoop wait;
      QTimer::singleShot(int(201 - elapsed.elapsed()), &wait, &QEventLoop::quit);
      wait.exec();
    }
    closeSocket();
  } catch (...) {
    // Ending the program goes on whatever happened here.
  }
}

void ConnectionManager::Winsock2_Connect() {
  open_ = true;
  carry_.clear();
  if (isConnected()) {
    link_.ConnectedSince = clock_.now();
    status_.set(QStringLiteral("Verbunden seit ") + formatDateTime(link_.ConnectedSince),
                StatusLabel::kGreen);
    const QString password = options_.text(Text::txtPW);
    if (!password.isEmpty())
      send(client_messages::login(password));
    userDisconnected_ = false;
    Q_EMIT linkUp();
  } else {
    status_.set(QStringLiteral("Verb????"), StatusLabel::kBlue);
  }
  setButtonCaption(QStringLiteral("Trennen"));
}

void ConnectionManager::Winsock2_Close() {
  status_.set(QStringLiteral("Getrennt"), StatusLabel::kRed);
  setButtonCaption(QStringLiteral("Verbinden"));
  closeSocket();
  Q_EMIT linkDown(userDisconnected_);
}

void ConnectionManager::Winsock2_Error(const QString& description) {
  status_.set(QStringLiteral("ERR:") + description, StatusLabel::kRed);
  closeSocket();
  Q_EMIT linkDown(userDisconnected_);
}

void ConnectionManager::connectRequest() {
  const QString host = trimSpaces(options_.text(Text::txtSrv));
  const std::int32_t port = roundToInt32(options_.number(Text::txtSrvPort));
  log_.write(u"connect", {host, QString::number(port)});
  if (port < 1 || port > 65535)
    throw Failure(kBadPort);
  if (host.isEmpty())
    throw Failure(kBadHost);
  // The local port is left to the system, as a fresh socket does anyway. Unbuffered, so that a
  // readable socket is reported before Qt reads it: only then can a reset be told from a close.
  socket_->connectToHost(host, quint16(port), QIODevice::ReadWrite | QIODevice::Unbuffered);
}

void ConnectionManager::closeSocket() {
  // Our own close is no event: nothing the socket reports while we close it reaches the rules.
  closingOurselves_ = true;
  open_ = false;
  carry_.clear(); // what a closed link left unfinished is lost
  socket_->abort();
  closingOurselves_ = false;
}

bool ConnectionManager::send(const QString& text) {
  log_.write(u"sent", {text});
  // Each send goes to the system on its own, as two sends are two requests. A write the system
  // refuses (the link broke) is the socket's error event.
  if (socket_->write(client_messages::toWire(text)) < 0) {
    Winsock2_Error(socket_->errorString());
    return false;
  }
  socket_->flush();
  return true;
}

void ConnectionManager::setButtonCaption(const QString& caption) {
  if (caption == buttonCaption_)
    return;
  buttonCaption_ = caption;
  log_.write(u"button", {caption});
  Q_EMIT buttonCaptionChanged();
}

void ConnectionManager::onReadyRead() {
  if (closingOurselves_)
    return;
  QByteArray bytes;
  if (isConnected()) {
    // Qt would read an orderly close and a reset alike as the remote host closing; the socket
    // itself still tells them apart.
    const PeerEnd end = PeerEnd::peek(socket_->socketDescriptor());
    if (end.kind == PeerEnd::Kind::Closed) {
      Winsock2_Close();
      return;
    }
    if (end.kind == PeerEnd::Kind::Failed) {
      Winsock2_Error(end.description);
      return;
    }
    bytes = readBlock();
    if (bytes.isEmpty()) {
      Winsock2_ReadEnded();
      return; // woken for nothing
    }
    deliver(bytes);
    return;
  }
  Q_EMIT blockReceived(cp1252::decode(bytes));
  Winsock2_ReadEnded();
}

void ConnectionManager::deliver(const QByteArray& bytes) {
  if (!carrySplitLines_) {
    Q_EMIT blockReceived(cp1252::decode(bytes));
  } else if (const QByteArray lines = carry_.wholeLines(bytes); !lines.isEmpty()) {
    Q_EMIT blockReceived(cp1252::decode(lines));
  }
  Winsock2_ReadEnded();
}

void ConnectionManager::Winsock2_ReadEnded() {
  if (closingOurselves_ || !open_ || !isClosed())
    return;
  if (socket_->error() == QAbstractSocket::RemoteHostClosedError)
    Winsock2_Close();
  else
    Winsock2_Error(socket_->errorString());
}

QByteArray ConnectionManager::readBlock() {
  // The socket is unbuffered: what is available is what the system holds.
  qint64 size = std::max<qint64>(socket_->bytesAvailable(), 1);
  if (size > kMaxBlockBytes) {
    // Our bound, not the network, cuts here, so the cut is put at the last line end: a line is
    // lost only where the network itself split it. A block with no line end is the start of a
    // long line, read whole up to its end when that comes within the line bound. A line longer
    // still goes out in pieces of the line bound, as the network could have split it (its first
    // piece is classified alone, the rest match no kind). No cut parts a CR from the LF after it,
    // which would cost the next line its beginning.
    qsizetype bound = kMaxBlockBytes;
    QByteArray held = PeerEnd::peekData(socket_->socketDescriptor(), bound);
    qsizetype lineEnd = held.lastIndexOf("\r\n");
    if (lineEnd < 0 && held.size() == bound) {
      bound = kMaxLineBytes;
      held = PeerEnd::peekData(socket_->socketDescriptor(), bound);
      lineEnd = held.indexOf("\r\n");
    }
    size = std::min<qint64>(size, bound);
    if (lineEnd >= 0)
      size = lineEnd + 2;
    else if (held.size() == bound && held.endsWith('\r'))
      size = bound - 1;
  }
  // One read; reading also lets the socket report the next arrival.
  QByteArray bytes = socket_->read(size);
  // What stays comes with the next arrival; should nothing more arrive, the timer fetches it.
  if (socket_->bytesAvailable() > 0)
    leftOver_.start();
  else
    leftOver_.stop();
  return bytes;
}

void ConnectionManager::readLeftOver() {
  if (!closingOurselves_ && isConnected() && socket_->bytesAvailable() > 0)
    deliver(readBlock());
}

void ConnectionManager::onSocketError(QAbstractSocket::SocketError error) {
  if (closingOurselves_)
    return;
  // Received data is read through PeerEnd, which tells a reset from a close; Qt itself still
  // reports an orderly close it meets elsewhere as an error, which here is the closed event.
  if (error == QAbstractSocket::RemoteHostClosedError)
    Winsock2_Close();
  else
    Winsock2_Error(socket_->errorString());
}

} // namespace meldlux
