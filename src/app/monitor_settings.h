// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace meldlux {

class SettingsStore;

// The hall monitor's keys, in a section of their own:
// [Alarmmonitor] Start=1|0 (shown all the time from start), Bildschirm=name or number (empty:
// the primary screen), Fahrzeuge=identifiers or names, comma-separated (empty: every vehicle of
// the vehicle table), RuheNachMinuten=N (back to idle after an alarm; default 30).
struct MonitorSettings {
  bool start = false;
  QString screen;
  QStringList vehicles;
  int idleMinutes = 30;
};

// Unreadable values fall back to the defaults.
MonitorSettings readMonitorSettings(const SettingsStore& store);

} // namespace meldlux
