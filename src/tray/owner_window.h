// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

// The window the tray manages (its owner, FSys): the main window. Only what the tray and the
// main window's resize rule need of it.
class OwnerWindow {
public:
  enum class State { Normal, Minimized, Maximized };

  virtual ~OwnerWindow() = default;
  virtual bool isVisible() const = 0;
  virtual State windowState() const = 0;
  virtual void setWindowState(State state) = 0;
  virtual void show() = 0;
  virtual void hide() = 0;
  virtual void bringToForeground() = 0;
  // Unloads the window, which runs its unload handling and ends the program.
  virtual void unload() = 0;
};

} // namespace meldlux
