#pragma once

#include "base/clock.h"
#include "base/event_log.h"
#include "display/indicators.h"
#include "link/link_state.h"
#include "link/receiver.h"
#include "link/status_label.h"
#include "refdata/follow_up_places.h"
#include "settings/options.h"

#include <QObject>
#include <memory>

namespace meldlux {

// The program's object graph, built once: every model and rule object of the core, wired
// together. Widgets are built on top of it by main.cpp and only present it.
class Application : public QObject {
  Q_OBJECT
public:
  Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
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
  FollowUpPlaces& followUpPlaces() { return followUpPlaces_; }
  // The socket's data-arrival event. It has no telegram handlers until they are set with
  // receiver().setHandlers(); until then lines are dispatched and counted but not handled.
  Receiver& receiver() { return receiver_; }

private:
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<EventLog> log_;
  Options options_;
  LinkState linkState_;
  StatusLabel statusLabel_;
  Indicators indicators_;
  FollowUpPlaces followUpPlaces_;
  Receiver receiver_;
};

} // namespace meldlux
