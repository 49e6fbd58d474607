#pragma once

#include <QString>

namespace meldlux {

// Plays a named sound file in the background: returns at once, cuts off a sound that is still
// playing, and ignores every failure.
class SoundPlayer {
public:
  virtual ~SoundPlayer() = default;
  // The file setting's text exactly as the user entered it.
  virtual void play(const QString& fileSettingText) = 0;
};

} // namespace meldlux
