// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/peer_end.h"

#include <system_error>

#if defined(Q_OS_WIN)
#include <winsock2.h>
#else
#include <cerrno>
#include <sys/socket.h>
#include <sys/types.h>
#endif

namespace meldlux {

PeerEnd PeerEnd::peek(qintptr descriptor) {
  char byte = 0;
#if defined(Q_OS_WIN)
  // The socket is non-blocking already.
  const int got = ::recv(SOCKET(descriptor), &byte, 1, MSG_PEEK);
  if (got > 0)
    return {Kind::Data, {}};
  if (got == 0)
    return {Kind::Closed, {}};
  const int error = ::WSAGetLastError();
  if (error == WSAEWOULDBLOCK || error == WSAEINTR)
    return {Kind::Nothing, {}};
#else
  ssize_t got;
  do
    got = ::recv(int(descriptor), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  while (got < 0 && errno == EINTR);
  if (got > 0)
    return {Kind::Data, {}};
  if (got == 0)
    return {Kind::Closed, {}};
  const int error = errno;
  if (error == EAGAIN || error == EWOULDBLOCK)
    return {Kind::Nothing, {}};
#endif
  return {Kind::Failed, QString::fromLocal8Bit(std::system_category().message(error))};
}

QByteArray PeerEnd::peekData(qintptr descriptor, qsizetype limit) {
  QByteArray data(limit, Qt::Uninitialized);
#if defined(Q_OS_WIN)
  const int got = ::recv(SOCKET(descriptor), data.data(), int(limit), MSG_PEEK);
#else
  ssize_t got;
  do
    got = ::recv(int(descriptor), data.data(), std::size_t(limit), MSG_PEEK | MSG_DONTWAIT);
  while (got < 0 && errno == EINTR);
#endif
  data.truncate(got > 0 ? qsizetype(got) : 0);
  return data;
}

} // namespace meldlux
