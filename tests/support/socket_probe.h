// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the link's tests ask of a socket beyond Qt, on each system.

#include <QtGlobal>
#include <optional>

#if defined(Q_OS_WIN)
#include <winsock2.h>
#else
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

namespace meldlux::testing {

// Closing the socket then sends a reset instead of the orderly end.
inline bool lingerAbortively(qintptr descriptor) {
  const linger abortive{1, 0};
#if defined(Q_OS_WIN)
  return ::setsockopt(SOCKET(descriptor), SOL_SOCKET, SO_LINGER,
                      reinterpret_cast<const char*>(&abortive), sizeof abortive) == 0;
#else
  return ::setsockopt(int(descriptor), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive) == 0;
#endif
}

// Whether the system tells a socket's bytes its peer has not acknowledged yet (not Windows).
inline bool systemCountsUnacknowledgedBytes() {
#if defined(Q_OS_WIN)
  return false;
#else
  return true;
#endif
}

// The bytes the socket sent that its peer has not acknowledged yet; nothing where the system
// does not tell.
inline std::optional<int> unacknowledgedBytes([[maybe_unused]] qintptr descriptor) {
#if defined(Q_OS_WIN)
  return std::nullopt;
#else
  int bytes = -1;
  if (::ioctl(int(descriptor), SIOCOUTQ, &bytes) != 0)
    return std::nullopt;
  return bytes;
#endif
}

} // namespace meldlux::testing
