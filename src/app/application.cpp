#include "app/application.h"

namespace meldlux {

Application::Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
                         QObject* parent)
    : QObject(parent), clock_(std::move(clock)), log_(std::move(log)), statusLabel_(*log_),
      indicators_(*log_), link_(options_, linkState_, statusLabel_, *clock_, *log_) {}

Application::~Application() = default;

QString Application::caption() { return title() + u' ' + QStringLiteral(MELDLUX_VERSION); }

} // namespace meldlux
