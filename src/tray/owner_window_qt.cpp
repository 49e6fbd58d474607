// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/owner_window_qt.h"

#include <QWidget>

namespace meldlux {

bool QtOwnerWindow::isVisible() const { return window_.isVisible(); }

OwnerWindow::State QtOwnerWindow::windowState() const {
  const Qt::WindowStates states = window_.windowState();
  if (states & Qt::WindowMinimized)
    return State::Minimized;
  if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
    return State::Maximized;
  return State::Normal;
}

void QtOwnerWindow::setWindowState(State state) {
  switch (state) {
  case State::Normal:
    window_.setWindowState(Qt::WindowNoState);
    break;
  case State::Minimized:
    window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
    break;
  case State::Maximized:
    window_.setWindowState(Qt::WindowMaximized);
    break;
  }
}

void QtOwnerWindow::show() { window_.show(); }
void QtOwnerWindow::hide() { window_.hide(); }

void QtOwnerWindow::bringToForeground() {
  window_.raise();
  window_.activateWindow();
}

void QtOwnerWindow::unload() { window_.close(); }

} // namespace meldlux
