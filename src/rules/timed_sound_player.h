// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"
#include "telegrams/sound_player.h"

#include <memory>

namespace meldlux {

class Clock;

// Passes every request on to the real player and keeps when the sound it started will end, read
// from the WAV file's header, so that speech can wait for it. A sound whose length cannot be read
// counts as ended at once.
class TimedSoundPlayer final : public SoundPlayer {
public:
  TimedSoundPlayer(std::unique_ptr<SoundPlayer> player, const Clock& clock)
      : player_(std::move(player)), clock_(clock) {}

  bool play(const QString& fileSettingText) override;
  // Milliseconds until the last sound started has ended; 0 when none plays.
  int msUntilQuiet() const;

  // The playing time of a PCM WAV file in milliseconds; 0 when it is none or cannot be read.
  static int wavMilliseconds(const QString& path);

private:
  std::unique_ptr<SoundPlayer> player_;
  const Clock& clock_;
  OleDate quietAt_ = 0;
};

} // namespace meldlux
