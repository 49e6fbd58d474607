// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/line_carry.h"

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;

namespace meldlux {

class Clock;
class EventLog;
class Options;
class StatusLabel;
struct LinkState;

// Winsock2 and everything around it: the one connection to the decoder server, opened by the
// button or the connection-check timer Timer1, logged in, kept alive and closed in order at the
// end. Host, port, password, keepalive and auto-connect are read from Options whenever they are
// needed, never cached. Received blocks go out as blockReceived for the receive procedure.
class ConnectionManager : public QObject {
  Q_OBJECT
public:
  static constexpr int kFirstCheckMs = 4000;
  static constexpr int kCheckMs = 30000;
  // The most one data-arrival event reads: a burst of thousands of lines read as one block would
  // be handled in one event, with timers and windows standing still meanwhile. Whatever waits
  // beyond it comes with the next event, after the loop has turned. 8 KB are some 350 telegrams,
  // 15 to 70 ms of handling on a small machine; 64 KB held the loop for 120 to 500 ms.
  static constexpr qsizetype kMaxBlockBytes = 8 * 1024;
  // The longest line read whole when no line end comes within a block, and the most an
  // unfinished line may hold while it is carried over.
  static constexpr qsizetype kMaxLineBytes = 64 * 1024;
  static constexpr qsizetype kMaxCarriedBytes = kMaxLineBytes;

  ConnectionManager(Options& options, LinkState& link, StatusLabel& status, const Clock& clock,
                    EventLog& log, QObject* parent = nullptr);
  ~ConnectionManager() override;

  // Caption of cmdStatus: "Verbinden" at first, "Trennen" from the connected event on.
  const QString& buttonCaption() const { return buttonCaption_; }
  // Only these two states count; host lookup, connecting and closing are neither.
  bool isConnected() const;
  bool isClosed() const;
  QAbstractSocket::SocketState socketState() const;
  const QTimer& timer1() const { return timer1_; }
  QTimer& timer1() { return timer1_; }

  void cmdStatus_Click();
  void chkAuto_Click();
  // Off: each received block is split on its own. On: an unfinished line waits for the next
  // block (one longer than kMaxCarriedBytes is dropped instead); a new connection starts afresh.
  void setCarrySplitLines(bool carry);
  void Timer1_Timer();
  // The connection part of the program's end: "XXX" and "Exit" when connected, 0.2 s of events,
  // then the socket is closed. Nothing that goes wrong here stops the program from ending.
  void Shutdown();

  // The socket's events; public so that each can also be driven on its own.
  void Winsock2_Connect();
  void Winsock2_Close();
  void Winsock2_Error(const QString& description);
  // After every read: a close that came between the peek and the read ends the stream inside
  // the read, and Qt then drops the socket without an event; this gives it its closed event.
  void Winsock2_ReadEnded();

Q_SIGNALS:
  // One read of everything that has arrived, decoded as Windows-1252; empty when the socket is
  // not connected at that moment.
  void blockReceived(const QString& block);
  void buttonCaptionChanged();
  // The connected event with the socket connected.
  void linkUp();
  // The link was lost or an attempt failed (closed or error event), or the user cancelled an
  // attempt; askedFor from the user's "Trennen" (or cancel) until the next connect request of
  // the button or the next connection.
  void linkDown(bool askedFor);

private:
  void connectRequest();
  void closeSocket();
  // False when the system refused it (then the error event has run).
  bool send(const QString& text);
  void setButtonCaption(const QString& caption);
  void onReadyRead();
  QByteArray readBlock();
  void readLeftOver();
  // Hands what was read on as a block; with carrying on only its whole lines, if any.
  void deliver(const QByteArray& bytes);
  void onSocketError(QAbstractSocket::SocketError error);

  Options& options_;
  LinkState& link_;
  StatusLabel& status_;
  const Clock& clock_;
  EventLog& log_;
  QTcpSocket* socket_;
  QTimer timer1_;
  QTimer leftOver_;
  QString buttonCaption_ = QStringLiteral("Verbinden");
  bool closingOurselves_ = false;
  bool carrySplitLines_ = false;
  LineCarry carry_{kMaxCarriedBytes};
  bool open_ = false; // from the connected event until the socket is closed
  bool userDisconnected_ = false;
};

} // namespace meldlux
