// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/timed_sound_player.h"

#include "base/clock.h"
#include "base/file_lookup.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace meldlux {

bool TimedSoundPlayer::play(const QString& fileSettingText) {
  const bool playing = player_->play(fileSettingText);
  // A new sound cuts off the one before, so only its own length counts.
  quietAt_ = clock_.now();
  if (playing) {
    if (const auto path = findFileIgnoringCase(fileSettingText))
      quietAt_ += wavMilliseconds(*path) / 1000.0 / kSecondsPerDay;
  }
  return playing;
}

int TimedSoundPlayer::msUntilQuiet() const {
  const double ms = (quietAt_ - clock_.now()) * kSecondsPerDay * 1000.0;
  return ms > 0 ? int(std::lround(ms)) : 0;
}

int TimedSoundPlayer::wavMilliseconds(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return 0;
  const QByteArray head = file.read(12);
  if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
    return 0;
  quint32 bytesPerSecond = 0;
  // Chunks follow one another: id, 32-bit length, body (padded to an even length).
  for (int chunks = 0; chunks < 64; ++chunks) {
    const QByteArray header = file.read(8);
    if (header.size() < 8)
      return 0;
    const quint32 length = qFromLittleEndian<quint32>(header.constData() + 4);
    if (header.startsWith("fmt ")) {
      const QByteArray format = file.read(std::min<quint32>(length, 16));
      if (format.size() < 12)
        return 0;
      bytesPerSecond = qFromLittleEndian<quint32>(format.constData() + 8);
      file.skip(qint64(length) - format.size() + (length & 1));
    } else if (header.startsWith("data")) {
      if (bytesPerSecond == 0)
        return 0;
      const qint64 bytes = std::min<qint64>(length, file.size() - file.pos());
      return int(std::min<qint64>(bytes * 1000 / bytesPerSecond, 10 * 60 * 1000));
    } else if (!file.skip(qint64(length) + (length & 1))) {
      return 0;
    }
  }
  return 0;
}

} // namespace meldlux
