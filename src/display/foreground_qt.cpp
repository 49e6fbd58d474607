// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/foreground_qt.h"

#include <QGuiApplication>

namespace meldlux {

void QtForeground::remember() { remembered_ = QGuiApplication::focusWindow(); }

void QtForeground::restore() {
  if (remembered_ && QGuiApplication::focusWindow() != remembered_)
    remembered_->requestActivate();
}

} // namespace meldlux
