// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver_state.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

namespace meldlux::multimon {

void ReceiverState::fault(const QDateTime& now) {
  ++restarts_;
  if (ok())
    downSince_ = now;
}

void ReceiverState::flowing() { downSince_ = QDateTime(); }

QString ReceiverState::stamp(const QDateTime& time) {
  // Always the offset as +HH:MM, also for UTC, which Qt's ISO form writes as "Z".
  const int offset = time.offsetFromUtc();
  const int minutes = std::abs(offset) / 60;
  return time.toOffsetFromUtc(offset).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
         (offset < 0 ? u'-' : u'+') +
         QStringLiteral("%1:%2")
             .arg(minutes / 60, 2, 10, QChar(u'0'))
             .arg(minutes % 60, 2, 10, QChar(u'0'));
}

QByteArray ReceiverState::heartbeatLine(double intervalSeconds) const {
  QString line = QStringLiteral("#!XX!# meldlux interval=%1 receiver=").arg(intervalSeconds);
  line += ok() ? QStringLiteral("ok") : QStringLiteral("down since=") + stamp(downSince_);
  return line.toLatin1();
}

QByteArray ReceiverState::statusJson(bool online, bool withReceiver) const {
  QJsonObject status{{QStringLiteral("online"), online}};
  if (withReceiver) {
    status.insert(QStringLiteral("receiver"), ok() ? QStringLiteral("ok") : QStringLiteral("down"));
    if (!ok())
      status.insert(QStringLiteral("since"), stamp(downSince_));
    status.insert(QStringLiteral("restarts"), restarts_);
    if (lastTelegram_.isValid())
      status.insert(QStringLiteral("last_telegram"), stamp(lastTelegram_));
  }
  return QJsonDocument(status).toJson(QJsonDocument::Compact);
}

QByteArray ReceiverState::offlineJson() { return QByteArrayLiteral("{\"online\":false}"); }

std::optional<ReceiverState> ReceiverState::fromStatusJson(const QByteArray& json,
                                                           const QDateTime& now) {
  const QJsonObject status = QJsonDocument::fromJson(json).object();
  ReceiverState state;
  if (status.value(QStringLiteral("online")) == QJsonValue(false)) {
    state.downSince_ = now;
    return state;
  }
  const QString receiver = status.value(QStringLiteral("receiver")).toString();
  if (receiver == u"ok")
    return state;
  if (receiver != u"down")
    return std::nullopt;
  state.downSince_ =
      QDateTime::fromString(status.value(QStringLiteral("since")).toString(), Qt::ISODate);
  if (!state.downSince_.isValid())
    state.downSince_ = now;
  return state;
}

} // namespace meldlux::multimon
