// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tray/owner_window.h"

class QWidget;

namespace meldlux {

// A top-level widget as the window the tray manages.
class QtOwnerWindow final : public OwnerWindow {
public:
  explicit QtOwnerWindow(QWidget& window) : window_(window) {}

  bool isVisible() const override;
  State windowState() const override;
  void setWindowState(State state) override;
  void show() override;
  void hide() override;
  void bringToForeground() override;
  void unload() override;

private:
  QWidget& window_;
};

} // namespace meldlux
