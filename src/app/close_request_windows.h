// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace meldlux {

// A hidden top-level window that turns Windows' polite requests to end into one call on the GUI
// thread: WM_CLOSE, which `taskkill` without /F posts to every top-level window of the program
// (also when the main window is hidden in the tray or not made yet), and WM_ENDSESSION at log-off
// or shut-down, after which Windows may end the process as soon as the call returns. The call
// is made once. One instance at a time.
class CloseRequestWindow {
public:
  explicit CloseRequestWindow(std::function<void()> end);
  ~CloseRequestWindow();
  CloseRequestWindow(const CloseRequestWindow&) = delete;
  CloseRequestWindow& operator=(const CloseRequestWindow&) = delete;

  // False when the window could not be made; then only Qt's own windows hear the requests.
  bool active() const { return window_ != nullptr; }
  // The window's handle (an HWND), for tests that send it messages.
  void* handle() const { return window_; }
  // Called by the window's procedure: makes the call the first time only.
  void endOnce();

private:
  std::function<void()> end_;
  void* window_ = nullptr;
  bool ended_ = false;
};

} // namespace meldlux
