// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace meldlux {

class SettingsStore;

// A telegram the station expects at least every so many minutes: a code as received (FMS
// identifier, five-tone code, RIC) or "*" for any telegram at all.
struct ExpectedTelegram {
  QString code;
  int minutes = 0;
  bool operator==(const ExpectedTelegram&) const = default;
};

// "1234567=1500;21001=10080;*=240": the entries that read; problems says, one text each, which
// parts were left out and why.
QList<ExpectedTelegram> parseExpected(const QString& text, QStringList* problems = nullptr);

// The watch's keys, in a section of their own, [Überwachung]:
// VerbindungWarnenNach (seconds, 0 = off), WarnungWiederholen (minutes, 0 = once),
// StilleWarnenNach (seconds, 0 = off), Erwartet (as parseExpected reads it), WarnungSound (a
// file; empty: the shipped one).
struct WatchSettings {
  int connectionWarnSeconds = 90;
  int repeatMinutes = 5;
  int silenceWarnSeconds = 0;
  QString expectedText;
  QString soundFile;

  QList<ExpectedTelegram> expected() const { return parseExpected(expectedText); }
  bool operator==(const WatchSettings&) const = default;
};

// Unreadable numbers (not a whole number, below 0) fall back to the defaults.
WatchSettings readWatchSettings(const SettingsStore& store);
void writeWatchSettings(SettingsStore& store, const WatchSettings& settings);

} // namespace meldlux
