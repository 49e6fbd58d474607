// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telegrams/sound_player.h"

#include <functional>
#include <string>

namespace meldlux {

// Plays WAV files through winmm's PlaySound, in the background (SND_ASYNC), the file by its name
// (SND_FILENAME) and never the system's default sound in its place (SND_NODEFAULT); a new sound
// replaces the one playing. The name is taken as a path relative to the working directory, letter
// case ignored. An empty name, one that names no file, a file that cannot be read or is no WAV
// file plays nothing and gives false, so that the caller can play another; like any request it
// still cuts off the sound that was playing.
class WindowsSoundPlayer final : public SoundPlayer {
public:
  // The call to PlaySound: a null path stops the sound playing.
  using PlaySoundCall = std::function<bool(const wchar_t* path, unsigned flags)>;
  WindowsSoundPlayer();
  explicit WindowsSoundPlayer(PlaySoundCall playSound);
  bool play(const QString& fileSettingText) override;

  // The flags every file is played with.
  static unsigned fileFlags();

private:
  PlaySoundCall playSound_;
};

} // namespace meldlux
