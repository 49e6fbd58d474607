// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

class SettingsStore;

// How alarms are read out; section [Sprache] of the program's settings.
struct SpeechSettings {
  QString voice = QStringLiteral("de"); // the engine's name of a German voice
  int rate = 150;                       // words per minute, 80 to 300
  int volume = 100;                     // per cent, 0 to 200
  int repeat = 2;                       // times each text is read, 1 to 5
  QString device;                       // the sound output by its name; empty: the system's own

  // Values out of their range are brought into it; a value that is no number keeps the default.
  static SpeechSettings load(const SettingsStore& store);
  void save(SettingsStore& store) const;
};

} // namespace meldlux
