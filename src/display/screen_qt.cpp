// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/screen_qt.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace meldlux {

namespace {
const QScreen* primary() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
             ? QGuiApplication::primaryScreen()
             : nullptr;
}
} // namespace

double QtScreen::twipsPerPixel() {
  const QScreen* screen = primary();
  const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
  return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int QtScreen::width() const {
  const QScreen* screen = primary();
  return int(
      std::lround((screen != nullptr ? screen->geometry().width() : 1280) * twipsPerPixel()));
}

int QtScreen::height() const {
  const QScreen* screen = primary();
  return int(
      std::lround((screen != nullptr ? screen->geometry().height() : 1024) * twipsPerPixel()));
}

} // namespace meldlux
