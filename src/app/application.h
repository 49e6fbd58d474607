#pragma once

#include "app/status_tables.h"
#include "base/clock.h"
#include "base/event_log.h"
#include "display/cleanup_tick.h"
#include "display/foreground.h"
#include "display/indicators.h"
#include "link/connection_manager.h"
#include "display/popup_model.h"
#include "display/popup_option_rules.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "link/link_state.h"
#include "link/receiver.h"
#include "link/status_label.h"
#include "settings/load_settings.h"
#include "refdata/follow_up_places.h"
#include "settings/options.h"
#include "settings/save_settings.h"
#include "settings/settings_store.h"
#include "telegrams/replacements.h"

#include <QObject>
#include <memory>

namespace meldlux {

// The program's object graph, built once: every model and rule object of the core, wired
// together. Widgets are built on top of it by main.cpp and only present it.
// The popup's view of the platform; main.cpp gives the Qt ones, a missing one is a fixed stand-in.
struct DisplayPorts {
  std::unique_ptr<Screen> screen;
  std::unique_ptr<TextMetrics> metrics;
  std::unique_ptr<Foreground> foreground;
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
  EventLog& eventLog() { return *log_; }
  Options& options() { return options_; }
  LinkState& linkState() { return linkState_; }
  StatusLabel& statusLabel() { return statusLabel_; }
  Indicators& indicators() { return indicators_; }
  SettingsStore& settingsStore() { return settingsStore_; }
  StatusTables& statusTables() { return statusTables_; }
  PopupAppearance& popupAppearance() { return popup_; }
  LoadSettings& loadSettings() { return loadSettings_; }

  // Reads the settings at start, group by group; a failure ends the reading at that step, as
  // start-up's trap does, and gives false.
  bool loadSettingsAtStart();
  // Whether the main window stays hidden after start (lock mode from the command line).
  bool mainWindowStartsHidden(int lockMode) {
    return loadSettings_.mainWindowStartsHidden(lockMode);
  }
  // SaveSettings, once, as the first step of closing the main window.
  void saveSettingsAtExit(bool mainWindowVisible);
  ConnectionManager& link() { return link_; }
  FollowUpPlaces& followUpPlaces() { return followUpPlaces_; }
  // The socket's data-arrival event. It has no telegram handlers until they are set with
  // receiver().setHandlers(); until then lines are dispatched and counted but not handled.
  Receiver& receiver() { return receiver_; }
  ReplacementTable& replacements() { return replacements_; }
  PopupModel& popupModel() { return popup_; }
  CleanupTick& cleanupTick() { return cleanup_; }
  PopupOptionRules& popupOptionRules() { return popupRules_; }

private:
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<EventLog> log_;
  Options options_;
  LinkState linkState_;
  StatusLabel statusLabel_;
  Indicators indicators_;
  StatusTables statusTables_;
  FollowUpPlaces followUpPlaces_;
  ReplacementTable replacements_;
  DisplayPorts display_;
  PopupModel popup_;
  CleanupTick cleanup_;
  PopupOptionRules popupRules_;
  SettingsStore settingsStore_;
  LoadSettings loadSettings_;
  SaveSettings saveSettings_;
  bool settingsSaved_ = false;
  ConnectionManager link_;
  Receiver receiver_;
};

} // namespace meldlux
