// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_chain.h"
#include "audio_relay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

using namespace meldlux::multimon;

namespace {

struct Pipe {
  int fds[2] = {-1, -1};
  Pipe() { EXPECT_EQ(::pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0); }
  ~Pipe() {
    for (int fd : fds)
      if (fd >= 0)
        ::close(fd);
  }
  // What one read of multimon-ng's size takes.
  QByteArray read() const {
    char buffer[16384];
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    return n > 0 ? QByteArray(buffer, n) : QByteArray();
  }
};

} // namespace

TEST(AudioRelay, EveryReadGetsOneWholeBlockWhateverThePiecesAndNothingIsLost) {
  Pipe pipe;
  AudioRelay relay({});
  relay.attach(pipe.fds[1]);
  QByteArray sent;
  for (int i = 0; i < 60; ++i) {
    const QByteArray piece = QByteArray::number(i).repeated(i % 7 == 0 ? 4500 : 356);
    sent += piece;
    relay.push(piece);
  }
  QByteArray received;
  QDeadlineTimer deadline(10000);
  while (!(relay.waiting() < 4000 && relay.inPipe() == 0) && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5); // the relay's next block
    const QByteArray chunk = pipe.read();
    ASSERT_TRUE(chunk.isEmpty() || chunk.size() == 4000) << chunk.size();
    received += chunk;
  }
  EXPECT_EQ(received.size() + relay.waiting(), sent.size());
  EXPECT_TRUE(sent.startsWith(received));
}

TEST(AudioRelay, AGoneReaderIsReportedAndTheAudioWaitsBoundedForTheNext) {
  Pipe first;
  AudioRelay relay({.blockBytes = 4000, .waitForDrain = true, .backlogBytes = 12000});
  int failed = 0;
  QObject::connect(&relay, &AudioRelay::writeFailed, [&] { ++failed; });
  relay.attach(first.fds[1]);
  ::close(std::exchange(first.fds[0], -1));
  relay.push(QByteArray(4000, 'a')); // no SIGPIPE: the program goes on
  EXPECT_EQ(failed, 1);
  relay.push(QByteArray(8000, 'b'));
  relay.push(QByteArray(4000, 'c'));
  EXPECT_EQ(relay.waiting(), 12000);
  EXPECT_EQ(relay.dropped(), 4000);

  Pipe second;
  relay.attach(second.fds[1]);
  EXPECT_EQ(second.read(), QByteArray(4000, 'b'));
}

TEST(AudioRelay, OnlyMultimonFromVersion131KeepsWhatAReadLeavesOver) {
  for (const char* older : {"multimon-ng 1.2.0", "multimon-ng 1.3.0", "multimon 1.3.1", ""})
    EXPECT_FALSE(AudioChain::keepsPartialSteps(QLatin1String(older))) << older;
  for (const char* newer : {"multimon-ng 1.3.1", "multimon-ng 1.10.0\n"})
    EXPECT_TRUE(AudioChain::keepsPartialSteps(QLatin1String(newer))) << newer;
}
