// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/tray_tip.h"

#include "base/event_log.h"

namespace meldlux {

TrayTip::TrayTip(EventLog& log, QObject* parent) : QObject(parent), log_(log) {}

void TrayTip::assign(const QString& text) {
  text_ = text;
  log_.write(u"traytip", {text_});
  Q_EMIT changed();
}

} // namespace meldlux
