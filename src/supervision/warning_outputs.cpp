// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/warning_outputs.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "display/popup_model.h"
#include "journal/journal_entry.h"
#include "journal/journal_sink.h"
#include "telegrams/alert_sounds.h"

#include <algorithm>

namespace meldlux {

WarningOutputs::WarningOutputs(PopupModel& popup, AlertSounds& sounds, JournalSink& journal,
                               EventLog& log, const Clock& clock,
                               std::function<QString()> soundFile, TrayLook trayLook,
                               TrayNotice trayNotice)
    : popup_(popup), sounds_(sounds), journal_(journal), log_(log), clock_(clock),
      soundFile_(std::move(soundFile)), trayLook_(std::move(trayLook)),
      trayNotice_(std::move(trayNotice)) {}

void WarningOutputs::report(const WatchEvent& event) {
  log_.write(u"supervision", {watchPhaseName(event.phase), watchKindName(event.kind), event.text});
  const auto same = [&event](const WatchEvent& e) { return e.key == event.key; };
  switch (event.phase) {
  case WatchPhase::Warning:
    lasting_.erase(std::remove_if(lasting_.begin(), lasting_.end(), same), lasting_.end());
    lasting_.push_back(event);
    show(event);
    journal(event);
    break;
  case WatchPhase::Repeat:
    show(event);
    break;
  case WatchPhase::Recovery:
    lasting_.erase(std::remove_if(lasting_.begin(), lasting_.end(), same), lasting_.end());
    show(event);
    journal(event);
    break;
  case WatchPhase::Ended:
    lasting_.erase(std::remove_if(lasting_.begin(), lasting_.end(), same), lasting_.end());
    break;
  }
  updateTray();
}

void WarningOutputs::show(const WatchEvent& event) {
  const bool warning = event.phase != WatchPhase::Recovery;
  popup_.LoaderNotice(event.text, warning ? kWarningColour : kRecoveryColour);
  // A fault says so on the strip; the sound is for the alarm chain.
  if (warning && event.kind != WatchKind::Fault)
    sounds_.playWarning(soundFile_ ? soundFile_() : QString());
}

void WarningOutputs::journal(const WatchEvent& event) {
  JournalEntry entry;
  entry.arrival = entry.telegramTime = clock_.now();
  entry.kind = kJournalSupervision;
  entry.identifier = watchKindName(event.kind);
  entry.message = event.text;
  entry.line = event.text;
  entry.colour = event.phase == WatchPhase::Recovery ? kRecoveryColour : kWarningColour;
  journal_.record(entry);
}

void WarningOutputs::updateTray() {
  if (trayLook_)
    trayLook_(lasting_.empty() ? QString() : lasting_.back().text);
}

void WarningOutputs::fault(const QString& text, Journaled journaled) {
  const WatchEvent event{WatchKind::Fault, WatchPhase::Warning, {}, text};
  log_.write(u"supervision", {watchPhaseName(event.phase), watchKindName(event.kind), text});
  show(event);
  if (journaled == Journaled::Here)
    journal(event);
  if (trayNotice_ && lasting_.empty())
    trayNotice_(text);
}

void WarningOutputs::faultBegins(const QString& key, const QString& text) {
  if (std::any_of(lasting_.begin(), lasting_.end(),
                  [&key](const WatchEvent& e) { return e.key == key; }))
    return;
  report({WatchKind::Fault, WatchPhase::Warning, key, text});
}

void WarningOutputs::faultOver(const QString& key, const QString& text) {
  if (std::none_of(lasting_.begin(), lasting_.end(),
                   [&key](const WatchEvent& e) { return e.key == key; }))
    return;
  report({WatchKind::Fault, WatchPhase::Recovery, key, text});
}

} // namespace meldlux
