// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech/voice.h"
#include "telegrams/sound_player.h"

#include <functional>
#include <memory>

namespace meldlux {

// What the program's start needs of the system it runs on, each made by the file of its platform
// (platform_ports_posix_qt.cpp, platform_ports_windows_qt.cpp).

// Something that stays alive as long as it must work.
class PlatformHook {
public:
  virtual ~PlatformHook() = default;
};

// The sound player of this system: Qt Multimedia on Linux, winmm on Windows.
std::unique_ptr<SoundPlayer> makeSystemSoundPlayer();

// The voice that reads alarm texts out: espeak-ng on Linux, the system's speech (SAPI) on Windows.
std::unique_ptr<Voice> makeSystemVoice();

// Calls `end` on the GUI thread when the system asks the program politely to end: SIGTERM, SIGINT
// or the desktop session's end on Linux; WM_CLOSE (as `taskkill` posts it) or the session's end
// on Windows. Not the session's request to save, nor its question whether it may end
// (WM_QUERYENDSESSION): a log-out or shut-down asked for may still be called off, and the station
// must stay alerted then.
std::unique_ptr<PlatformHook> listenForEndRequests(std::function<void()> end);

// After the application is made: on Windows, when the system's dialog font is not installed (Wine
// without its fonts), the windows' texts take a usual sans font instead of whatever the font
// machinery falls back to. Nothing on Linux, where fontconfig substitutes sensibly.
void keepUiFontReadable();

} // namespace meldlux
