// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quit_on_signal.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace meldlux {

#if defined(Q_OS_UNIX)

namespace {

// A signal handler cannot reach an object; the write end of the pipe is the one thing it needs,
// and it must be a plain value it can read atomically.
volatile std::sig_atomic_t writeFd = -1;
struct sigaction previousTerm;
struct sigaction previousInt;

extern "C" void onQuitSignal(int signal) {
  const int savedErrno = errno;
  const char byte = char(signal);
  if (writeFd >= 0) {
    const ssize_t written = ::write(writeFd, &byte, 1);
    (void)written; // a full pipe already holds a pending quit
  }
  errno = savedErrno;
}

} // namespace

QuitOnSignal::QuitOnSignal(std::function<void()> quit, QObject* parent)
    : QObject(parent), quit_(std::move(quit)) {
  if (writeFd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, fds_) != 0)
    return;
  for (int fd : fds_) {
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  writeFd = fds_[0];
  notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitOnSignal::readSignal);

  struct sigaction action {};
  action.sa_handler = onQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, &previousTerm);
  ::sigaction(SIGINT, &action, &previousInt);
  active_ = true;
}

QuitOnSignal::~QuitOnSignal() {
  if (!active_) {
    for (int fd : fds_)
      if (fd >= 0)
        ::close(fd);
    return;
  }
  ::sigaction(SIGTERM, &previousTerm, nullptr);
  ::sigaction(SIGINT, &previousInt, nullptr);
  writeFd = -1;
  delete notifier_;
  ::close(fds_[0]);
  ::close(fds_[1]);
}

void QuitOnSignal::readSignal() {
  char bytes[16];
  while (::read(fds_[1], bytes, sizeof bytes) > 0) {
  }
  if (quit_)
    quit_();
}

#else

// Windows has no such signals: its polite requests to end reach CloseRequestWindow instead.
QuitOnSignal::QuitOnSignal(std::function<void()> quit, QObject* parent)
    : QObject(parent), quit_(std::move(quit)) {}
QuitOnSignal::~QuitOnSignal() = default;
void QuitOnSignal::readSignal() {}

#endif

} // namespace meldlux
