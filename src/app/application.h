#pragma once

#include "base/clock.h"
#include "base/event_log.h"
#include "display/cleanup_tick.h"
#include "display/foreground.h"
#include "display/indicators.h"
#include "display/popup_model.h"
#include "display/popup_option_rules.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "link/link_state.h"
#include "link/status_label.h"
#include "settings/options.h"
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
  ReplacementTable replacements_;
  DisplayPorts display_;
  PopupModel popup_;
  CleanupTick cleanup_;
  PopupOptionRules popupRules_;
};

} // namespace meldlux
