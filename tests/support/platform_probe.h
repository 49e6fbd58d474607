// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What tests ask of the system beyond Qt, on Linux and on Windows.

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include <winsock2.h> // before windows.h, which would bring the old winsock.h

#include <windows.h>
#else
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

namespace meldlux::testing {

// Closing the socket then sends a reset instead of the orderly end.
inline bool lingerAbortively(qintptr socket) {
  const linger abortive{1, 0};
  return ::setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
                      sizeof abortive) == 0;
}

#if defined(Q_OS_WIN)
constexpr bool kCountsUnacknowledgedBytes = false; // Windows does not tell them
inline int unacknowledgedBytes(qintptr) { return -1; }
inline bool underWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
#else
constexpr bool kCountsUnacknowledgedBytes = true;
// The bytes the socket sent that its peer has not acknowledged yet.
inline int unacknowledgedBytes(qintptr socket) {
  int bytes = -1;
  return ::ioctl(int(socket), SIOCOUTQ, &bytes) == 0 ? bytes : -1;
}
inline bool underWine() { return false; }
#endif

} // namespace meldlux::testing
