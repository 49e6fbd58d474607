// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/platform_ports.h"

#include "app/quit_on_signal.h"
#include "speech/espeak_voice_posix.h"
#include "telegrams/sound_player_qt.h"

namespace meldlux {

namespace {

class SignalHook final : public PlatformHook {
public:
  explicit SignalHook(std::function<void()> end) : quit_(std::move(end)) {}

private:
  QuitOnSignal quit_;
};

} // namespace

std::unique_ptr<SoundPlayer> makeSystemSoundPlayer() { return std::make_unique<QtSoundPlayer>(); }

std::unique_ptr<Voice> makeSystemVoice() { return std::make_unique<EspeakVoice>(); }

std::unique_ptr<PlatformHook> listenForEndRequests(std::function<void()> end) {
  return std::make_unique<SignalHook>(std::move(end));
}

void keepUiFontReadable() {}

} // namespace meldlux
