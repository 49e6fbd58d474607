// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/platform_ports.h"

#include "app/quit_on_signal.h"
#include "speech/espeak_voice_posix.h"
#include "telegrams/sound_player_qt.h"

#include <QEvent>
#include <QGuiApplication>

namespace meldlux {

namespace {

class EndRequestHook final : public QObject, public PlatformHook {
public:
  explicit EndRequestHook(std::function<void()> end) : quit_(end), end_(std::move(end)) {
    // The desktop session's real end: its manager tells the program to die, which Qt turns into
    // a request to quit. It must end in order even while its main window is hidden, which Qt's
    // own closing of the windows passes over.
    qGuiApp->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == qGuiApp && event->type() == QEvent::Quit)
      end_();
    return false;
  }

private:
  QuitOnSignal quit_;
  std::function<void()> end_;
};

} // namespace

std::unique_ptr<SoundPlayer> makeSystemSoundPlayer() { return std::make_unique<QtSoundPlayer>(); }

std::unique_ptr<Voice> makeSystemVoice() { return std::make_unique<EspeakVoice>(); }

std::unique_ptr<PlatformHook> listenForEndRequests(std::function<void()> end) {
  return std::make_unique<EndRequestHook>(std::move(end));
}

void keepUiFontReadable() {}

} // namespace meldlux
