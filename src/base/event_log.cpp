// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/event_log.h"

namespace meldlux {

EventLog::EventLog(const QString& path) {
  auto file = std::make_unique<QFile>(path);
  if (file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
    file_ = std::move(file);
}

std::unique_ptr<EventLog> EventLog::fromEnvironment() {
  const QString path = qEnvironmentVariable("MELDLUX_EVENT_LOG");
  return path.isEmpty() ? std::make_unique<EventLog>() : std::make_unique<EventLog>(path);
}

void EventLog::write(QStringView kind, const QStringList& fields) {
  if (!file_)
    return;
  QString line = kind.toString();
  for (const QString& field : fields) {
    line += u'\t';
    line += escape(field);
  }
  line += u'\n';
  file_->write(line.toUtf8());
  file_->flush();
}

QString EventLog::escape(QStringView field) {
  QString out;
  out.reserve(field.size());
  for (QChar c : field) {
    switch (c.unicode()) {
    case u'\\': out += QLatin1StringView("\\\\"); break;
    case u'\t': out += QLatin1StringView("\\t"); break;
    case u'\r': out += QLatin1StringView("\\r"); break;
    case u'\n': out += QLatin1StringView("\\n"); break;
    default:
      // Any other control character (a NUL from the server, a C1 code from an undefined byte)
      // would make the line unreadable for the tools that follow the log.
      if (c.category() == QChar::Other_Control) {
        out += QLatin1StringView("\\x");
        out += QString::number(c.unicode(), 16).rightJustified(2, u'0');
      } else {
        out += c;
      }
    }
  }
  return out;
}

} // namespace meldlux
