// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/handler_steps.h"

#include "base/clock.h"
#include "base/formats.h"
#include "state/link_state.h"
#include "state/options.h"
#include "state/status_label.h"
#include "telegrams/tray_tip.h"

#include <iterator>

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

namespace {

// Decimal digits straight into the text: the status line is rewritten for every telegram.
void appendNumber(QString& text, qint64 value) {
  char16_t digits[24];
  char16_t* end = digits + std::size(digits);
  char16_t* p = end;
  const bool negative = value < 0;
  quint64 rest = negative ? 0 - quint64(value) : quint64(value);
  do {
    *--p = char16_t(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (negative)
    *--p = u'-';
  text.append(reinterpret_cast<const QChar*>(p), end - p);
}

} // namespace

QString HandlerSteps::statusLineText() const {
  // The head changes only with a new connection.
  if (headSince_ != link_.ConnectedSince || head_.isEmpty()) {
    headSince_ = link_.ConnectedSince;
    head_ = QStringLiteral("Verbunden seit ") + formatDateTime(link_.ConnectedSince) +
            QStringLiteral(" - Empfangen: ");
  }
  QString text;
  text.reserve(head_.size() + 64);
  text += head_;
  appendNumber(text, link_.ReceivedTotal);
  text += QLatin1StringView(" (FMS: ");
  appendNumber(text, ReceivedFms);
  text += QLatin1StringView(", FME: ");
  appendNumber(text, ReceivedFme);
  text += QLatin1StringView(", DME: ");
  appendNumber(text, ReceivedDme);
  text += u')';
  return text;
}

void HandlerSteps::UpdateStatusLine() { status_.setCaption(statusLineText()); }

void HandlerSteps::setTraySummary(const QString& summary) {
  if (options_.InTray)
    trayTip_.assign(formatTime(clock_.now()) + u' ' + summary);
}

} // namespace meldlux
