// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

// Plays a named sound file in the background: returns at once and cuts off a sound that is still
// playing.
class SoundPlayer {
public:
  virtual ~SoundPlayer() = default;
  // The file setting's text exactly as the user entered it. False when it names no file, or one
  // that cannot be read: then nothing plays.
  virtual bool play(const QString& fileSettingText) = 0;
};

} // namespace meldlux
