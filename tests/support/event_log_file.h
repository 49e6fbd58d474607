// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <ostream>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{';
  for (const QString& text : list)
    *os << " \"" << text.toStdString() << '"';
  *os << " }";
}

// The lines of an event log, optionally only those of one kind.
inline QStringList eventLogLines(const QString& path, const QString& kind = {}) {
  QFile file(path);
  QStringList result;
  if (!file.open(QIODevice::ReadOnly))
    return result;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n'))
    if (!line.isEmpty() && (kind.isEmpty() || line.startsWith(kind + u'\t')))
      result << line;
  return result;
}

// An event log in a scratch folder, read back line by line.
class EventLogFile {
public:
  QString path() const { return dir_.filePath(QStringLiteral("events.log")); }
  QStringList lines(const QString& kind = {}) const { return eventLogLines(path(), kind); }

private:
  QTemporaryDir dir_;
};
