// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/sound_player_windows.h"

#include "base/file_lookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

#include <mmsystem.h>

namespace meldlux {

namespace {

// PlaySound in the background reports a file it cannot play only later, or not at all: the
// header is looked at first so that the shipped sound can stand in at once.
bool looksLikeWav(QFile& file) {
  const QByteArray head = file.read(12);
  return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

} // namespace

WindowsSoundPlayer::WindowsSoundPlayer()
    : WindowsSoundPlayer([](const wchar_t* path, unsigned flags) {
        return PlaySoundW(path, nullptr, flags) != FALSE;
      }) {}

WindowsSoundPlayer::WindowsSoundPlayer(PlaySoundCall playSound)
    : playSound_(std::move(playSound)) {}

unsigned WindowsSoundPlayer::fileFlags() { return SND_ASYNC | SND_FILENAME | SND_NODEFAULT; }

bool WindowsSoundPlayer::play(const QString& fileSettingText) {
  playSound_(nullptr, 0);
  const auto path = findFileIgnoringCase(fileSettingText);
  if (!path)
    return false;
  QFile file(*path);
  if (!file.open(QIODevice::ReadOnly) || !looksLikeWav(file))
    return false;
  const std::wstring native =
      QDir::toNativeSeparators(QFileInfo(*path).absoluteFilePath()).toStdWString();
  return playSound_(native.c_str(), fileFlags());
}

} // namespace meldlux
