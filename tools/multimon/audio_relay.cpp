// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_relay.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace meldlux::multimon {

namespace {

constexpr int kLargestWrite = 4000; // below PIPE_BUF: a write is all or nothing
constexpr int kRetryMs = 1;

} // namespace

AudioRelay::Options AudioRelay::forMultimon(bool keepsPartialSteps) {
  if (keepsPartialSteps)
    return {.blockBytes = 2, .waitForDrain = false};
  return {};
}

AudioRelay::AudioRelay(Options options, QObject* parent) : QObject(parent), options_(options) {
  // A reader that is gone must give an error here, not end the program.
  std::signal(SIGPIPE, SIG_IGN);
  retry_.setSingleShot(true);
  connect(&retry_, &QTimer::timeout, this, &AudioRelay::pump);
}

AudioRelay::~AudioRelay() = default;

void AudioRelay::attach(int pipeFd) {
  fd_ = pipeFd;
  pump();
}

void AudioRelay::push(const QByteArray& audio) {
  pending_ += audio;
  const qsizetype over = pending_.size() - options_.backlogBytes;
  if (over > 0) {
    // The oldest whole steps go, so that the samples stay aligned.
    const qsizetype cut =
        (over + options_.blockBytes - 1) / options_.blockBytes * options_.blockBytes;
    pending_.remove(0, cut);
    dropped_ += cut;
  }
  pump();
}

int AudioRelay::inPipe() const {
  int bytes = 0;
  if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &bytes) != 0)
    return 0;
  return bytes;
}

void AudioRelay::pump() {
  const int block = options_.blockBytes;
  while (fd_ >= 0) {
    const qsizetype whole = pending_.size() / block * block;
    if (whole == 0)
      return;
    if (options_.waitForDrain && inPipe() > 0) {
      retry_.start(kRetryMs); // multimon-ng has not read the block before yet
      return;
    }
    const qsizetype n = std::min<qsizetype>(whole, kLargestWrite / block * block);
    const ssize_t written = ::write(fd_, pending_.constData(), size_t(n));
    if (written < 0) {
      if (errno == EAGAIN || errno == EINTR) {
        retry_.start(kRetryMs);
        return;
      }
      fd_ = -1;
      Q_EMIT writeFailed();
      return;
    }
    pending_.remove(0, written);
    written_ += written;
  }
}

} // namespace meldlux::multimon
