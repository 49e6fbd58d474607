// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver_state.h"

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
         QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10,
                                                                              QChar(u'0'));
}

QByteArray ReceiverState::heartbeatLine(double intervalSeconds) const {
  QString line = QStringLiteral("#!XX!# meldlux interval=%1 receiver=").arg(intervalSeconds);
  line += ok() ? QStringLiteral("ok") : QStringLiteral("down since=") + stamp(downSince_);
  return line.toLatin1();
}

} // namespace meldlux::multimon
