// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/status_label.h"

#include "base/event_log.h"

namespace meldlux {

StatusLabel::StatusLabel(EventLog& log, QObject* parent) : QObject(parent), log_(log) {}

void StatusLabel::set(const QString& caption, Colour colour) {
  if (caption == caption_ && colour == colour_)
    return;
  caption_ = caption;
  colour_ = colour;
  if (log_.enabled())
    log_.write(u"status", {QString::number(colour_), caption_});
  Q_EMIT changed();
}

} // namespace meldlux
