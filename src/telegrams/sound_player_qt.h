// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telegrams/sound_player.h"

#include <QDateTime>
#include <QUrl>
#include <memory>

namespace meldlux {

// What the player needs of a QSoundEffect; tests put their own in its place.
class SoundEffectPort {
public:
  enum class Status { Null, Loading, Ready, Error };
  virtual ~SoundEffectPort() = default;
  virtual QUrl source() const = 0;
  virtual Status status() const = 0;
  // Loads the file anew, also when it is the source already; loading goes on in the background
  // and play() starts once it is loaded.
  virtual void load(const QUrl& source) = 0;
  virtual void play() = 0;
  virtual void stop() = 0;
};

// Plays WAV files with QSoundEffect. The name is taken as a path relative to the working
// directory ("\" separating folders, letter case ignored where the file system minds it). An
// empty name, one that names no file or a file that cannot be read plays nothing and gives false;
// like any request it still cuts off the sound that was playing.
class QtSoundPlayer final : public SoundPlayer {
public:
  QtSoundPlayer();
  explicit QtSoundPlayer(std::unique_ptr<SoundEffectPort> effect);
  ~QtSoundPlayer() override;
  bool play(const QString& fileSettingText) override;

private:
  std::unique_ptr<SoundEffectPort> effect_;
  QDateTime loadedModified_;
  qint64 loadedSize_ = -1;
};

} // namespace meldlux
