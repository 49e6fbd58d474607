// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telegrams/sound_player.h"

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

// Remembers every play request instead of making a noise; the names in unplayable count as
// files that are missing or cannot be read.
class RecordingSoundPlayer final : public meldlux::SoundPlayer {
public:
  bool play(const QString& fileSettingText) override {
    played << fileSettingText;
    return !unplayable.contains(fileSettingText);
  }
  QStringList played;
  QStringList unplayable;
};

// An event log in a scratch folder, read back line by line, optionally only one kind.
class EventLogFile {
public:
  QString path() const { return dir_.filePath(QStringLiteral("events.log")); }
  QStringList lines(const QString& kind = {}) const {
    QFile file(path());
    QStringList result;
    if (!file.open(QIODevice::ReadOnly))
      return result;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n'))
      if (!line.isEmpty() && (kind.isEmpty() || line.startsWith(kind + u'\t')))
        result << line;
    return result;
  }

private:
  QTemporaryDir dir_;
};
