// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/close_request_windows.h"

#include <windows.h>

namespace meldlux {

namespace {

const wchar_t kClassName[] = L"MeldluxCloseRequest";

LRESULT CALLBACK closeRequestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CloseRequestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
  case WM_CLOSE: // not DefWindowProc's destroying the window: the program ends in its own order
    if (self)
      PostMessageW(window, WM_APP, 0, 0); // out of whatever sent it, from the event loop
    return 0;
  case WM_APP:
  case WM_ENDSESSION:
    if (self && (message == WM_APP || wParam != FALSE))
      self->endOnce();
    return 0;
  case WM_QUERYENDSESSION:
    return TRUE;
  default:
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

} // namespace

CloseRequestWindow::CloseRequestWindow(std::function<void()> end) : end_(std::move(end)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = closeRequestProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass); // fails harmlessly when registered already
  // Top-level (not message-only): taskkill looks for the program's top-level windows. Never shown.
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"Meldlux", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
  if (!window)
    return;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  window_ = window;
}

CloseRequestWindow::~CloseRequestWindow() {
  if (!window_)
    return;
  HWND window = static_cast<HWND>(window_);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

void CloseRequestWindow::endOnce() {
  if (ended_)
    return;
  ended_ = true;
  end_();
}

} // namespace meldlux
