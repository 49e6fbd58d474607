// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/paint_probe_qt.h"

#include "base/event_log.h"
#include "display/popup_model.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace meldlux {

PaintProbe::PaintProbe(EventLog& log, const QWidget& popup, const PopupModel& model,
                       QObject* parent)
    : QObject(parent), log_(log), popup_(popup), model_(model) {
  if (log_.enabled() && qEnvironmentVariable("MELDLUX_EVENT_LOG_PAINT") == u"1")
    QCoreApplication::instance()->installEventFilter(this);
}

bool PaintProbe::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == &popup_) {
    const QString& newest = model_.lblText(0).caption;
    if (newest != painted_) {
      painted_ = newest;
      log_.write(u"paint", {newest});
    }
  }
  return false;
}

} // namespace meldlux
