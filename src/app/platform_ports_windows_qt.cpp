// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/platform_ports.h"

#include "app/close_request_windows.h"
#include "app/ui_font.h"
#include "speech/sapi_voice_windows.h"
#include "telegrams/sound_player_windows.h"

#include <QApplication>
#include <QFontDatabase>
#include <QSettings>
#include <cstdio>

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

void keepUiFontReadable() {
  QFont font = QApplication::font();
  // Qt asks for "MS Shell Dlg 2"; the system's substitutes say which font that really is.
  const QSettings substitutes(
      QStringLiteral(
          R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\FontSubstitutes)"),
      QSettings::NativeFormat);
  const QString dialogFamily = substitutes.value(font.family(), font.family()).toString();
  const QString family = readableUiFamily(dialogFamily, QFontDatabase::families());
  if (family.isEmpty())
    return;
  std::fprintf(stderr, "Meldlux: Schrift %s fehlt, die Fenster nehmen %s\n",
               qUtf8Printable(dialogFamily), qUtf8Printable(family));
  font.setFamily(family);
  QApplication::setFont(font);
}

} // namespace meldlux
