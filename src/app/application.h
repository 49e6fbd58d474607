// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/journal_settings.h"
#include "app/monitor_settings.h"
#include "app/save_soon.h"
#include "base/clock.h"
#include "base/event_log.h"
#include "board/vehicle_board.h"
#include "display/cleanup_tick.h"
#include "display/foreground.h"
#include "display/popup_model.h"
#include "display/popup_option_rules.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "journal/journal_sink.h"
#include "journal/journal_tee.h"
#include "journal/journal_writer.h"
#include "link/connection_manager.h"
#include "link/receiver.h"
#include "monitor/alarm_monitor.h"
#include "options_window/font_colour_dialog.h"
#include "options_window/popup_choosers.h"
#include "refdata/message_boxes.h"
#include "refdata/place_table.h"
#include "refdata/reference_tables.h"
#include "refdata/replacements.h"
#include "rules/alarm_station.h"
#include "rules/test_mark_sink.h"
#include "rules/timed_sound_player.h"
#include "settings/load_settings.h"
#include "settings/save_settings.h"
#include "settings/settings_store.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"
#include "supervision/link_watch.h"
#include "supervision/ticker.h"
#include "supervision/warning_outputs.h"
#include "supervision/watched_handlers.h"
#include "tables/status_tables.h"
#include "telegrams/alert_sounds.h"
#include "telegrams/handler_steps.h"
#include "telegrams/sound_player.h"
#include "telegrams/telegram_handler_set.h"
#include "telegrams/tray_tip.h"
#include "tray/frm_sys_tray.h"
#include "tray/owner_window.h"
#include "tray/tray_shell.h"

#include <QObject>
#include <memory>

namespace meldlux {

// The program's object graph, built once: every model and rule object of the core, wired
// together. Widgets are built on top of it by main.cpp and only present it.
// What only a real desktop has: screen, text metrics, foreground window, sound, message boxes,
// the font and colour dialog.
// main.cpp gives the Qt ones; a missing one is a quiet stand-in (tests, tools).
struct DisplayPorts {
  std::unique_ptr<Screen> screen;
  std::unique_ptr<TextMetrics> metrics;
  std::unique_ptr<Foreground> foreground;
  std::unique_ptr<SoundPlayer> sound;
  std::unique_ptr<MessageBoxes> boxes;
  std::unique_ptr<FontColourDialog> dialog;
  std::unique_ptr<TrayShell> trayShell;
  std::unique_ptr<Voice> voice; // none: alarm texts are not read out
};

class Application : public QObject {
  Q_OBJECT
public:
  Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
              QObject* parent = nullptr);
  Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log, DisplayPorts display,
              QObject* parent = nullptr);
  ~Application() override;

  static QString title() { return QStringLiteral("FMS Meldlux"); }
  // "FMS Meldlux" + blank + major.minor.revision: the main window's caption.
  static QString caption();

  Clock& clock() { return *clock_; }
  // The desktop's message boxes (a quiet stand-in without one).
  MessageBoxes& messageBoxes() { return *display_.boxes; }
  EventLog& eventLog() { return *log_; }
  Options& options() { return options_; }
  LinkState& linkState() { return linkState_; }
  StatusLabel& statusLabel() { return statusLabel_; }
  Indicators& indicators() { return indicators_; }
  SettingsStore& settingsStore() { return settingsStore_; }
  StatusTables& statusTables() { return statusTables_; }
  PopupAppearance& popupAppearance() { return popup_; }
  LoadSettings& loadSettings() { return loadSettings_; }

  // Before anything reads the settings: of a damaged settings file a dated copy is kept; start-up
  // then says so on the strip, the tray's tip and in the journal.
  void keepDamagedSettings();
  // Reads the settings at start, group by group; a failure ends the reading at that step, as
  // start-up's trap does, and gives false.
  bool loadSettingsAtStart();
  // Whether the main window stays hidden after start (lock mode from the command line).
  bool mainWindowStartsHidden(int lockMode) {
    return loadSettings_.mainWindowStartsHidden(lockMode);
  }
  // SaveSettings, once, as the first step of closing the main window.
  void saveSettingsAtExit(bool mainWindowVisible);
  // Form_Load: the start-up sequence, in its fixed order. A failure in any step ends it there
  // without a message (what the earlier steps set stays); gives false then.
  bool Form_Load(const QString& commandLineText);
  std::int16_t LockMode() const { return lockMode_; }
  // Whether start-up hid the main window (steps 16 and 19); main.cpp shows it otherwise.
  bool mainWindowStartsHidden() const { return startsHidden_; }

  // The main window as the tray's owner and as the window start-up hides; set before Form_Load.
  void setMainWindow(OwnerWindow* window) { mainWindow_ = window; }
  FrmSysTray& tray() { return tray_; }
  // The tray's Click event: the tip catches up with the latest summary, then the popup reacts.
  void FormSys_Click(const QString& ClickWhat);
  // Another start asked for the main window: shown and brought to the front, unless locked.
  void showMainWindowOnRequest();
  // The main window's size or state changed.
  void Form_Resize();
  // The main window is being unloaded: settings saved, tray icon removed, link shut down; then
  // unloaded() tells the program to end.
  void Form_Unload(bool mainWindowVisible);
  // The desktop session asks to save, perhaps before it ends: what changed is written and the
  // journal flushed now. The program goes on; the session's end may still be called off.
  void saveNow();
  // Whether Form_Unload has run. A signal or a log-out may unload the program while a loader's
  // box is open; start-up then ends when the box returns, and the program must not go on.
  bool isUnloaded() const { return unloaded_; }

  ConnectionManager& link() { return link_; }
  FollowUpPlaces& followUpPlaces() { return reference_.followUpPlaces; }
  ReferenceTables& referenceTables() { return reference_; }
  PlaceTable& places() { return places_; }
  TrayTip& trayTip() { return trayTip_; }
  HandlerSteps& handlerSteps() { return steps_; }
  TelegramHandlerSet& handlers() { return handlers_; }
  // The alarm rules and their speech, in front of the handlers.
  AlarmStation& alarmStation() { return station_; }
  // The journal, once Form_Load has started it; nullptr when it is switched off.
  JournalWriter* journal() { return journal_.get(); }
  // The vehicle status board: every vehicle status the handlers journal, restored at start.
  VehicleBoard& vehicleBoard() { return board_; }
  // The hall monitor's model; its settings are applied at the end of start-up.
  AlarmMonitor& alarmMonitor() { return monitor_; }
  MonitorSettings monitorSettings() const { return readMonitorSettings(settingsStore_); }
  // An alarm for the hall monitor (from the alarm rules): the monitor shows it, and where no
  // monitor runs all the time its window opens for it.
  void monitorAlarm(const MonitorAlarm& alarm) { monitor_.alarm(alarm); }
  // The journal's settings as the store holds them now.
  JournalSettings journalSettings() const;
  // The journal's file: the one being written, or with the journal off the one it would write.
  QString journalPath() const;
  // Stores the journal page's settings and starts the journal afresh with them (or ends it).
  void setJournalSettings(bool enabled, int retentionDays, const QString& folder);
  // The socket's data-arrival event. It has no telegram handlers until they are set with
  // receiver().setHandlers(); until then lines are dispatched and counted but not handled.
  Receiver& receiver() { return receiver_; }
  ReplacementTable& replacements() { return replacements_; }
  PopupModel& popupModel() { return popup_; }
  CleanupTick& cleanupTick() { return cleanup_; }
  PopupOptionRules& popupOptionRules() { return popupRules_; }
  PopupChoosers& popupChoosers() { return choosers_; }
  // The watch over the alarm chain and where its warnings (and the program's own faults) go.
  LinkWatch& linkWatch() { return watch_; }
  WarningOutputs& warnings() { return warnings_; }
  // Stores the watch's settings and applies them at once.
  void setWatchSettings(const WatchSettings& settings);

Q_SIGNALS:
  void unloaded();
  // The journal has a block more in its file (for the history window).
  void journalWritten();
  // journalPath() is another file now, or a new file under the same name: read it afresh.
  void journalFileChanged(const QString& path);

private:
  bool runStartUp(const QString& commandLineText);
  void chkSysTray_Click();
  void hideMainWindowWhenInTray();
  void startJournal();
  void startBoard();
  void hintSaveOnChanges();

  std::unique_ptr<Clock> clock_;
  std::unique_ptr<EventLog> log_;
  Options options_;
  LinkState linkState_;
  StatusLabel statusLabel_;
  Indicators indicators_;
  StatusTables statusTables_;
  ReferenceTables reference_;
  PlaceTable places_;
  ReplacementTable replacements_;
  DisplayPorts display_;
  TimedSoundPlayer* timedSound_; // display_.sound, which it wraps
  PopupModel popup_;
  CleanupTick cleanup_;
  PopupOptionRules popupRules_;
  PopupChoosers choosers_;
  SettingsStore settingsStore_;
  LoadSettings loadSettings_;
  SaveSettings saveSettings_;
  SaveSoon saveSoon_;
  bool settingsSaved_ = false;
  ConnectionManager link_;
  Receiver receiver_;
  TrayTip trayTip_;
  HandlerSteps steps_;
  AlertSounds sounds_;
  JournalRelay journalRelay_;
  std::unique_ptr<JournalWriter> journal_;
  VehicleBoard board_;
  AlarmMonitor monitor_;
  JournalTee viewsTee_{board_, monitor_};
  JournalTee journalTee_{journalRelay_, viewsTee_};
  TestMarkSink testMark_{journalTee_, journalRelay_};
  TelegramHandlerSet handlers_;
  AlarmStation station_;
  std::int16_t lockMode_ = 0;
  FrmSysTray tray_;
  QtTicker watchTicker_;
  WarningOutputs warnings_;
  LinkWatch watch_;
  WatchedHandlers watchedHandlers_{watch_, station_.handlers()};
  OwnerWindow* mainWindow_ = nullptr;
  bool startsHidden_ = false;
  bool unloaded_ = false;
  QString damagedSettings_; // the copy of a damaged settings file kept at start
};

} // namespace meldlux
