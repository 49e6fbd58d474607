// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/indicators.h"

#include "base/event_log.h"

namespace meldlux {

Indicators::Indicators(EventLog& log, QObject* parent) : QObject(parent), log_(log) {
  sprechwunsch_.caption = QStringLiteral("Sprechwunsch");
  sprechwunsch_.foreColor = 65535;
  sprechwunsch_.left = 8340;
  sprechwunsch_.width = 1050;
  spricht_.caption = QStringLiteral("Es Spricht");
  spricht_.foreColor = 8454143;
  spricht_.left = 9780;
  spricht_.width = 705;
}

const Label& Indicators::label(Indicator which) const {
  return which == Indicator::Sprechwunsch ? sprechwunsch_ : spricht_;
}

void Indicators::setCaption(Indicator which, const QString& caption) {
  Label& l = mutableLabel(which);
  if (l.caption == caption)
    return;
  l.caption = caption;
  logged(which);
}

void Indicators::setForeColor(Indicator which, Colour colour) {
  Label& l = mutableLabel(which);
  if (l.foreColor == colour)
    return;
  l.foreColor = colour;
  logged(which);
}

void Indicators::setBold(Indicator which, bool bold) {
  Label& l = mutableLabel(which);
  if (l.bold == bold)
    return;
  l.bold = bold;
  logged(which);
}

void Indicators::logged(Indicator which) {
  const Label& l = label(which);
  if (log_.enabled())
    log_.write(u"indicator",
             {which == Indicator::Sprechwunsch ? QStringLiteral("Sprechwunsch")
                                               : QStringLiteral("Spricht"),
              QString::number(l.foreColor), l.bold ? QStringLiteral("1") : QStringLiteral("0"),
              l.caption});
  Q_EMIT changed(which);
}

} // namespace meldlux
