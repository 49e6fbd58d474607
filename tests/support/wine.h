// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the test program runs under Wine, for the few cases where Wine is known to differ
// from the system it stands in for.

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace meldlux::testing {

inline bool underWine() {
#if defined(Q_OS_WIN)
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
  return false;
#endif
}

} // namespace meldlux::testing
