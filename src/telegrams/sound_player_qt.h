#pragma once

#include "telegrams/sound_player.h"

#include <QSoundEffect>

namespace meldlux {

// Plays WAV files with QSoundEffect. The name is taken as a path relative to the working
// directory ("\" separating folders, letter case ignored where the file system minds it). An
// empty name or one that names no file plays nothing; like any request it still cuts off the
// sound that was playing.
class QtSoundPlayer final : public SoundPlayer {
public:
  QtSoundPlayer();
  void play(const QString& fileSettingText) override;

private:
  QSoundEffect effect_;
};

} // namespace meldlux
