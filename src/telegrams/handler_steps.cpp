#include "telegrams/handler_steps.h"

#include "base/clock.h"
#include "base/formats.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"
#include "telegrams/tray_tip.h"

namespace meldlux {

HandlerSteps::HandlerSteps(const Clock& clock, const LinkState& link, const Options& options,
                           StatusLabel& status, TrayTip& trayTip)
    : clock_(clock), link_(link), options_(options), status_(status), trayTip_(trayTip) {}

void HandlerSteps::defaultTime(OleDate& time) const {
  if (time == 0)
    time = clock_.now();
}

void HandlerSteps::countFms() {
  ++ReceivedFms;
  UpdateStatusLine();
}

void HandlerSteps::countFme() {
  ++ReceivedFme;
  UpdateStatusLine();
}

void HandlerSteps::countDme() {
  ++ReceivedDme;
  UpdateStatusLine();
}

QString HandlerSteps::statusLineText() const {
  return QStringLiteral("Verbunden seit ") + formatDateTime(link_.ConnectedSince) +
         QStringLiteral(" - Empfangen: ") + QString::number(link_.ReceivedTotal) +
         QStringLiteral(" (FMS: ") + QString::number(ReceivedFms) + QStringLiteral(", FME: ") +
         QString::number(ReceivedFme) + QStringLiteral(", DME: ") + QString::number(ReceivedDme) +
         u')';
}

void HandlerSteps::UpdateStatusLine() { status_.setCaption(statusLineText()); }

void HandlerSteps::setTraySummary(const QString& summary) {
  if (options_.InTray)
    trayTip_.assign(formatTime(clock_.now()) + u' ' + summary);
}

} // namespace meldlux
