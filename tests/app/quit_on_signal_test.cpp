// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quit_on_signal.h"
#include "support/wait.h"

#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace meldlux {
namespace {

// Also when started with standard input closed, as some session starters do: the pipe then gets
// descriptor 0, which is as good as any other.
TEST(QuitOnSignal, TermAndIntReachTheEventLoopAsQuitCalls) {
  for (const bool stdinClosed : {false, true}) {
    SCOPED_TRACE(stdinClosed ? "standard input closed" : "standard input open");
    const int savedStdin = stdinClosed ? ::dup(0) : -1;
    if (stdinClosed)
      ::close(0);
    int calls = 0;
    {
      QuitOnSignal quit([&calls] { ++calls; });
      ASSERT_TRUE(quit.active());
      std::raise(SIGTERM);
      EXPECT_EQ(calls, 0); // never from inside the signal handler
      EXPECT_TRUE(testing::waitUntil([&] { return calls == 1; }));
      std::raise(SIGINT);
      EXPECT_TRUE(testing::waitUntil([&] { return calls == 2; }));
    }
    if (stdinClosed) {
      ::dup2(savedStdin, 0);
      ::close(savedStdin);
    }
  }
}

extern "C" void countingHandler(int) {}

TEST(QuitOnSignal, PreviousHandlersComeBackAndOnlyOneInstanceTakesOver) {
  struct sigaction mine {};
  mine.sa_handler = countingHandler;
  sigemptyset(&mine.sa_mask);
  struct sigaction before {};
  ASSERT_EQ(::sigaction(SIGTERM, &mine, &before), 0);
  {
    QuitOnSignal first([] {});
    QuitOnSignal second([] {});
    EXPECT_TRUE(first.active());
    EXPECT_FALSE(second.active());
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_NE(now.sa_handler, countingHandler);
  }
  struct sigaction after {};
  ::sigaction(SIGTERM, &before, &after);
  EXPECT_EQ(after.sa_handler, countingHandler);
}

} // namespace
} // namespace meldlux
