// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/heartbeat_content.h"

#include "link/wire_protocol.h"

#include <QDateTime>

namespace meldlux {

HeartbeatContent HeartbeatContent::read(QStringView line) {
  HeartbeatContent content;
  if (!hasPrefix(line, kHeartbeatStart))
    return content;
  const QList<QStringView> words = line.sliced(kHeartbeatStart.size()).split(u' ');
  // The marker is followed by one space, then the word that says the rest is ours.
  if (words.size() < 2 || !words[0].isEmpty() || words[1] != u"meldlux")
    return content;
  content.present = true;
  for (qsizetype i = 2; i < words.size(); ++i) {
    const QStringView word = words[i];
    const qsizetype equals = word.indexOf(u'=');
    if (equals <= 0)
      continue;
    const QStringView key = word.first(equals);
    const QStringView value = word.sliced(equals + 1);
    if (key == u"interval") {
      bool ok = false;
      const int seconds = value.toInt(&ok);
      if (ok && seconds > 0 && seconds <= 24 * 3600)
        content.intervalSeconds = seconds;
    } else if (key == u"receiver") {
      if (value == u"ok")
        content.receiver = Receiver::Ok;
      else if (value == u"down")
        content.receiver = Receiver::Down;
    } else if (key == u"since") {
      const QDateTime since = QDateTime::fromString(value.toString(), Qt::ISODate);
      if (since.isValid())
        content.since = toOleDate(since);
    }
  }
  return content;
}

} // namespace meldlux
