// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

class Options;
class SettingsStore;

// The store holds none of the program's own keys: a first start on this account.
bool storeHoldsNoSettings(const SettingsStore& store);

// What the set-up window on an empty settings store offers: the server, and a station that
// hears its alarms, reconnects by itself and keeps an alarm on the strip.
struct FirstStartChoice {
  QString server;
  QString port;
  QString password;
  bool autoConnect = true;
  bool alarmSound = true;
  bool statusSound = false;
  bool textSound = false;
  bool sprechaufforderungSound = false;
  bool threeLinesAtBottom = true;

  // The choice as it stands before the user changes it: the options' server values.
  static FirstStartChoice offeredFor(const Options& options);
};

// Sets the option controls as the user would, so that every change rule runs and the settings
// are saved as any other change; a sound box ticked takes the shipped sound of its kind from
// soundFolder (empty: the box alone, and the player's stand-in finds the sound).
void applyFirstStart(const FirstStartChoice& choice, Options& options, const QString& soundFolder);

} // namespace meldlux
