// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/platform_ports.h"

#include "app/quit_on_signal.h"
#include "speech/espeak_voice_posix.h"
#include "telegrams/sound_player_qt.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace meldlux {

namespace {

class SignalHook final : public PlatformHook {
public:
  explicit SignalHook(std::function<void()> end) : quit_(end) {
#ifndef QT_NO_SESSIONMANAGER
    // Logging out of the desktop session: its manager asks the program to save before it ends it.
    session_ = QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest,
                                [end](QSessionManager&) { end(); });
#endif
  }
  ~SignalHook() override { QObject::disconnect(session_); }

private:
  QuitOnSignal quit_;
  QMetaObject::Connection session_;
};

} // namespace

std::unique_ptr<SoundPlayer> makeSystemSoundPlayer() { return std::make_unique<QtSoundPlayer>(); }

std::unique_ptr<Voice> makeSystemVoice() { return std::make_unique<EspeakVoice>(); }

std::unique_ptr<PlatformHook> listenForEndRequests(std::function<void()> end) {
  return std::make_unique<SignalHook>(std::move(end));
}

void keepUiFontReadable() {}

} // namespace meldlux
