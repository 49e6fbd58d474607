// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "supervision/watch_event.h"

#include <QString>
#include <functional>
#include <vector>

namespace meldlux {

class AlertSounds;
class Clock;
class EventLog;
class JournalSink;
class PopupModel;

// Where a warning shows: a line in the strip (while popup messages are on), the warning sound,
// an entry in the journal and a line in the event log; the tray hears which warning lasts.
// Repeats bring the line and the sound again; recoveries a line and an entry. Faults of the
// program's own come here too, as a line, an entry and the tray's tip, without a sound.
class WarningOutputs final : public WatchEventSink {
public:
  // The newest lasting warning's text, empty when none lasts any more.
  using TrayLook = std::function<void(const QString& warning)>;
  // A fault's text for the tray's tip, until the next summary replaces it.
  using TrayNotice = std::function<void(const QString& text)>;

  static constexpr int kWarningColour = 255;      // red, as the link shows its failures
  static constexpr int kRecoveryColour = 32768;   // dark green

  WarningOutputs(PopupModel& popup, AlertSounds& sounds, JournalSink& journal, EventLog& log,
                 const Clock& clock, std::function<QString()> soundFile, TrayLook trayLook,
                 TrayNotice trayNotice);

  void report(const WatchEvent& event) override;
  // Whether a fault's entry is still to be written, or its source journals it in a kind of its
  // own (the loaders' faults).
  enum class Journaled { Here, Elsewhere };
  // A fault of our own that does not last: one line, one entry, the tip.
  void fault(const QString& text, Journaled journaled = Journaled::Here);
  // One that lasts until faultOver with the same key; a second faultBegins is ignored.
  void faultBegins(const QString& key, const QString& text);
  void faultOver(const QString& key, const QString& text);

private:
  void show(const WatchEvent& event);
  void journal(const WatchEvent& event);
  void updateTray();

  PopupModel& popup_;
  AlertSounds& sounds_;
  JournalSink& journal_;
  EventLog& log_;
  const Clock& clock_;
  std::function<QString()> soundFile_;
  TrayLook trayLook_;
  TrayNotice trayNotice_;
  std::vector<WatchEvent> lasting_; // oldest first
};

} // namespace meldlux
