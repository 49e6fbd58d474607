// SPDX-License-Identifier: GPL-3.0-or-later
// Tells how Windows itself sees the window titled TITLE beside the foreground window, which X
// cannot show without a window manager: whether it is visible and topmost, the foreground
// window's class, and whether it lies above the foreground window. Exit code 2: no such window.
//   window_order.exe TITLE
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2)
    return 2;
  const HWND window = FindWindowW(nullptr, argv[1]);
  if (window == nullptr)
    return 2;
  const HWND foreground = GetForegroundWindow();
  wchar_t name[256] = L"-";
  if (foreground != nullptr)
    GetClassNameW(foreground, name, 256);
  bool above = false;
  for (HWND below = GetWindow(window, GW_HWNDNEXT); below != nullptr && !above;
       below = GetWindow(below, GW_HWNDNEXT))
    above = below == foreground;
  std::printf("visible %d\ntopmost %d\nforeground %ls\nabove %d\n", IsWindowVisible(window) ? 1 : 0,
              (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? 1 : 0, name,
              above ? 1 : 0);
  return 0;
}
