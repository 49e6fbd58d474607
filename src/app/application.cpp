#include "app/application.h"

namespace meldlux {

Application::Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
                         QObject* parent)
    : QObject(parent), clock_(std::move(clock)), log_(std::move(log)), statusLabel_(*log_),
      indicators_(*log_),
      receiver_(*clock_, linkState_, statusLabel_, options_, indicators_, followUpPlaces_) {}

Application::~Application() = default;

QString Application::caption() { return title() + u' ' + QStringLiteral(MELDLUX_VERSION); }

} // namespace meldlux
