// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/platform_ports.h"

#include "app/close_request_windows.h"
#include "speech/sapi_voice_windows.h"
#include "telegrams/sound_player_windows.h"

namespace meldlux {

namespace {

class CloseRequestHook final : public PlatformHook {
public:
  explicit CloseRequestHook(std::function<void()> end) : window_(std::move(end)) {}

private:
  CloseRequestWindow window_;
};

} // namespace

std::unique_ptr<Voice> makeSystemVoice() { return std::make_unique<SapiVoice>(); }

std::unique_ptr<SoundPlayer> makeSystemSoundPlayer() {
  return std::make_unique<WindowsSoundPlayer>();
}

std::unique_ptr<PlatformHook> listenForEndRequests(std::function<void()> end) {
  return std::make_unique<CloseRequestHook>(std::move(end));
}

} // namespace meldlux
