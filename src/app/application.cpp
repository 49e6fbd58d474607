#include "app/application.h"

#include "base/failure.h"

namespace meldlux {

Application::Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
                         QObject* parent)
    : QObject(parent), clock_(std::move(clock)), log_(std::move(log)), statusLabel_(*log_),
      indicators_(*log_), loadSettings_(settingsStore_, options_, statusTables_, popupAppearance_),
      saveSettings_(settingsStore_, options_, statusTables_, popupAppearance_, *log_),
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
