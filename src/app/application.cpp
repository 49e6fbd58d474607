#include "app/application.h"

#include "base/failure.h"

namespace meldlux {

namespace {
DisplayPorts withStandIns(DisplayPorts ports) {
  if (!ports.screen)
    ports.screen = std::make_unique<FixedScreen>();
  if (!ports.metrics)
    ports.metrics = std::make_unique<FixedTextMetrics>();
  if (!ports.foreground)
    ports.foreground = std::make_unique<NoForeground>();
  return ports;
}
} // namespace

Application::Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
                         QObject* parent)
    : Application(std::move(clock), std::move(log), DisplayPorts{}, parent) {}

Application::Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
                         DisplayPorts display, QObject* parent)
    : QObject(parent), clock_(std::move(clock)), log_(std::move(log)), statusLabel_(*log_),
      indicators_(*log_), display_(withStandIns(std::move(display))),
      popup_(options_, *clock_, linkState_, replacements_, indicators_, *log_,
             PopupPorts{*display_.screen, *display_.metrics, *display_.foreground}),
      cleanup_(popup_, linkState_, *clock_), popupRules_(options_, popup_, cleanup_),
      loadSettings_(settingsStore_, options_, statusTables_, popup_),
      saveSettings_(settingsStore_, options_, statusTables_, popup_, *log_),
      link_(options_, linkState_, statusLabel_, *clock_, *log_),
      receiver_(*clock_, linkState_, statusLabel_, options_, indicators_, followUpPlaces_) {
  connect(&link_, &ConnectionManager::blockReceived, &receiver_, &Receiver::Winsock2_DataArrival);
}

Application::~Application() = default;

QString Application::caption() { return title() + u' ' + QStringLiteral(MELDLUX_VERSION); }

bool Application::loadSettingsAtStart() {
  try {
    loadSettings_.all();
    return true;
  } catch (const Failure&) {
    return false; // what was read so far stays
  }
}

void Application::saveSettingsAtExit(bool mainWindowVisible) {
  if (settingsSaved_)
    return;
  settingsSaved_ = true;
  saveSettings_(mainWindowVisible);
}

} // namespace meldlux
