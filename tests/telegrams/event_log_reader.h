#pragma once

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// An event log in a scratch folder, read back line by line, optionally only one kind.
class EventLogFile {
public:
  QString path() const { return dir_.filePath(QStringLiteral("events.log")); }
  QStringList lines(const QString& kind = {}) const {
    QFile file(path());
    QStringList result;
    if (!file.open(QIODevice::ReadOnly))
      return result;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
      if (!line.isEmpty() && (kind.isEmpty() || line.startsWith(kind + u'\t')))
        result << line;
    }
    return result;
  }

private:
  QTemporaryDir dir_;
};
