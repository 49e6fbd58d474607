#include "link/connection_manager.h"

#include "base/clock.h"
#include "base/cp1252.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "link/client_messages.h"
#include "link/link_state.h"
#include "link/status_label.h"
#include "settings/options.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
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
  // Qt would otherwise read everything the system holds into one block; a burst of thousands of
  // lines would then be handled in one event, with timers and windows standing still meanwhile.
  socket_->setReadBufferSize(kMaxBlockBytes);
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
    // The button has no error trap of its own; a request refused on the spot is shown the way
    // the timer shows it, so the user sees why nothing happens.
    try {
      connectRequest();
    } catch (const std::exception& e) {
      status_.set(QStringLiteral("Err:") + describe(e), StatusLabel::kRed);
    }
  } else if (isConnected()) {
    send(client_messages::disconnectRequest()); // the server closes; that event does the rest
  } else {
    closeSocket();
  }
}

void ConnectionManager::chkAuto_Click() {
  if (options_.checked(Check::chkAuto))
    timer1_.start();
  else
    timer1_.stop();
}

void ConnectionManager::Timer1_Timer() {
  try {
    if (timer1_.interval() < 10000)
      timer1_.setInterval(kCheckMs);

    options_.txtKeepalive_LostFocus(); // the same two range rules as leaving the box

    const double keepalive = options_.number(Text::txtKeepalive);
    if (keepalive > 0) {
      const std::int32_t seconds = roundToInt32(clock_.secondsSinceMidnight());
      const std::int32_t period = roundToInt32(keepalive);
      if (period == 0)
        throw Failure(QStringLiteral("Division durch Null"));
      const double silentFor = (clock_.now() - link_.LastReceived) * kSecondsPerDay;
      if (seconds % period < 30 && isConnected() && silentFor > keepalive - 30)
        send(client_messages::keepalive());
    }

    if (options_.checked(Check::chkAuto) && !isConnected()) {
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
  if (isConnected()) {
    link_.ConnectedSince = clock_.now();
    status_.set(QStringLiteral("Verbunden seit ") + formatDateTime(link_.ConnectedSince),
                StatusLabel::kGreen);
    const QString password = options_.text(Text::txtPW);
    if (!password.isEmpty())
      send(client_messages::login(password));
  } else {
    status_.set(QStringLiteral("Verb????"), StatusLabel::kBlue);
  }
  setButtonCaption(QStringLiteral("Trennen"));
}

void ConnectionManager::Winsock2_Close() {
  status_.set(QStringLiteral("Getrennt"), StatusLabel::kRed);
  setButtonCaption(QStringLiteral("Verbinden"));
  closeSocket();
}

void ConnectionManager::Winsock2_Error(const QString& description) {
  status_.set(QStringLiteral("ERR:") + description, StatusLabel::kRed);
  closeSocket();
}

void ConnectionManager::connectRequest() {
  const QString host = trimSpaces(options_.text(Text::txtSrv));
  const std::int32_t port = roundToInt32(options_.number(Text::txtSrvPort));
  log_.write(u"connect", {host, QString::number(port)});
  if (port < 1 || port > 65535)
    throw Failure(kBadPort);
  if (host.isEmpty())
    throw Failure(kBadHost);
  // The local port is left to the system, as a fresh socket does anyway.
  socket_->connectToHost(host, quint16(port));
}

void ConnectionManager::closeSocket() {
  // Our own close is no event: nothing the socket reports while we close it reaches the rules.
  closingOurselves_ = true;
  socket_->abort();
  closingOurselves_ = false;
}

void ConnectionManager::send(const QString& text) {
  log_.write(u"sent", {text});
  // A write that fails is not reported here: the socket raises its error event for it.
  socket_->write(client_messages::toWire(text));
  socket_->flush(); // each send goes to the system on its own, as two sends are two requests
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
  if (isConnected())
    bytes = readBlock();
  Q_EMIT blockReceived(cp1252::decode(bytes));
}

QByteArray ConnectionManager::readBlock() {
  qint64 size = socket_->bytesAvailable();
  if (size >= kMaxBlockBytes) {
    // A full buffer means more is waiting. Our bound, not the network, cuts here, so the cut is
    // put at the last line end: a line is lost only where the network itself split it.
    const qsizetype lineEnd = socket_->peek(size).lastIndexOf("\r\n");
    if (lineEnd >= 0)
      size = lineEnd + 2;
  }
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
    Q_EMIT blockReceived(cp1252::decode(readBlock()));
}

void ConnectionManager::onSocketError(QAbstractSocket::SocketError error) {
  if (closingOurselves_)
    return;
  // Qt reports the server's orderly close as an error; here it is the closed event.
  if (error == QAbstractSocket::RemoteHostClosedError)
    Winsock2_Close();
  else
    Winsock2_Error(socket_->errorString());
}

} // namespace meldlux
