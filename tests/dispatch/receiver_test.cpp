// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch_fixture.h"

#include <limits>

namespace meldlux::testing {
namespace {

TEST_F(DispatchTest, EveryPieceCountsInTheBurstWindowWhichRestartsAfterTwoSeconds) {
  receive(QString()); // an empty block is one piece, and not a recognised one
  EXPECT_EQ(state.ReceiveBurstCount, 1);
  EXPECT_EQ(state.LastReceived, 0.0);
  receive(QStringLiteral("ZVEI\t1\r\n\r\nrubbish\r\n#!XX!#\r\n"));
  EXPECT_EQ(state.ReceiveBurstCount, 6);
  EXPECT_FLOAT_EQ(state.ReceiveBurstStart, float(clock.secondsSinceMidnight()));
  clock.advance(1.5);
  receive(QStringLiteral("c"));
  EXPECT_EQ(state.ReceiveBurstCount, 7);
  clock.advance(1.0); // 2.5 s after the window began
  receive(QStringLiteral("d\r\ne"));
  EXPECT_EQ(state.ReceiveBurstCount, 2);
  EXPECT_FLOAT_EQ(state.ReceiveBurstStart, float(clock.secondsSinceMidnight()));
  clock.advance(-3); // the clock going back restarts it as well
  receive(QStringLiteral("b"));
  EXPECT_EQ(state.ReceiveBurstCount, 1);
}

TEST_F(DispatchTest, RecognisedPiecesRefreshLastReceived) {
  // A tab line though rejected, a marker line though too short.
  for (const char* piece : {"#!XX!#", "ZVEI12345", "POC", "a#![]!#b"}) {
    SCOPED_TRACE(piece);
    clock.advance(10);
    receive(QString(piece));
    EXPECT_EQ(state.LastReceived, clock.now());
  }
  const OleDate last = state.LastReceived;
  clock.advance(10);
  receive(QStringLiteral("\r\nrubbish\r\n#!XX!\r\n"));
  EXPECT_EQ(state.LastReceived, last);
  EXPECT_EQ(state.ReceivedTotal, 0);
  EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(DispatchTest, LinesAreHandledInOrderAndNotJoinedAcrossBlocks) {
  receive(QStringLiteral("ZVE"));
  receive(QStringLiteral("I\t12345\r\n"));
  EXPECT_EQ(state.ReceivedTotal, 0);
  receive(QStringLiteral("ZVEI\t1\r\nZVEI\t2\r\nZVEI\t3"));
  EXPECT_EQ(handlers.calls, (QStringList{"Z:1", "Z:2", "Z:3"}));
}

TEST_F(DispatchTest, ReceiveFailureShowsErrAndDropsTheRestOfTheBlock) {
  state.ReceiveBurstStart = float(clock.secondsSinceMidnight());
  state.ReceiveBurstCount = std::numeric_limits<std::int32_t>::max() - 1;
  handlers.onCall = [this] { clock.advance(5); };
  receive(QStringLiteral("ZVEI\t1\r\nZVEI\t2\r\nZVEI\t3"));
  EXPECT_EQ(handlers.calls, QStringList{"Z:1"});
  EXPECT_EQ(state.LastReceived, clock.now()); // the line handled before the failure, at its end
  EXPECT_EQ(statusLabel.caption(), QStringLiteral("Err:Überlauf"));
  EXPECT_EQ(statusLabel.colour(), 255);

  // The next block starts afresh once the window has passed.
  clock.advance(3);
  receive(QStringLiteral("ZVEI\t4"));
  EXPECT_EQ(handlers.calls.last(), "Z:4");
}

TEST_F(DispatchTest, CounterOverflowDropsTheLineOnly) {
  state.ReceivedTotal = std::numeric_limits<std::int32_t>::max();
  receive(QStringLiteral("ZVEI\t1"));
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(statusLabel.caption(), "Unbekannt");
}

} // namespace
} // namespace meldlux::testing
