#include "dispatch_fixture.h"

#include <QCoreApplication>
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
  receive(QStringLiteral("ZVEI\t1\r\nZVEI\t2\r\nZVEI\t3"));
  EXPECT_EQ(handlers.calls, QStringList{"Z:1"});
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

// "ZVEI\t<first>" to "ZVEI\t<first + count - 1>", each ended by CR LF.
QString zveiLines(int first, int count) {
  QString block;
  for (int i = first; i < first + count; ++i)
    block += QStringLiteral("ZVEI\t%1\r\n").arg(i);
  return block;
}

QStringList zveiCalls(int first, int count) {
  QStringList calls;
  for (int i = first; i < first + count; ++i)
    calls << QStringLiteral("Z:%1").arg(i);
  return calls;
}

void turnEventLoop(int times) {
  for (int i = 0; i < times; ++i)
    QCoreApplication::processEvents();
}

TEST_F(DispatchTest, PacedBlocksAreHandledASliceAtATimeInOrderWithTheirBoundaries) {
  constexpr int kSlice = Receiver::kPiecesPerTurn;
  // 450 lines and the start of a line that the next block ends: both halves are lost.
  receiver.receivePaced(zveiLines(1, 450) + QStringLiteral("ZVE"));
  EXPECT_EQ(handlers.calls, zveiCalls(1, kSlice));
  receiver.receivePaced(QStringLiteral("I\t99999\r\nZVEI\t1000"));
  EXPECT_EQ(handlers.calls, zveiCalls(1, 2 * kSlice)); // each arrival is a turn of its own
  turnEventLoop(5);
  EXPECT_EQ(handlers.calls, zveiCalls(1, 450) << QStringLiteral("Z:1000"));
  EXPECT_EQ(state.ReceivedTotal, 451);
  EXPECT_EQ(state.ReceiveBurstCount, 451 + 2); // every piece, as when handled at once
}

TEST_F(DispatchTest, FinishPendingHandlesTheRestAtOnce) {
  receiver.receivePaced(zveiLines(1, 450));
  receiver.receivePaced(zveiLines(451, 10));
  receiver.finishPending();
  EXPECT_EQ(handlers.calls, zveiCalls(1, 460));
  turnEventLoop(3); // nothing is handled twice
  EXPECT_EQ(handlers.calls.size(), 460);
}

TEST_F(DispatchTest, PacedFailureDropsTheRestOfItsBlockOnly) {
  state.ReceiveBurstStart = float(clock.secondsSinceMidnight());
  state.ReceiveBurstCount = std::numeric_limits<std::int32_t>::max() - 250;
  receiver.receivePaced(zveiLines(1, 450)); // the 251st piece overflows, in the second slice
  clock.advance(3);                         // the next block starts a new burst window
  receiver.receivePaced(QStringLiteral("ZVEI\t1000"));
  turnEventLoop(5);
  EXPECT_EQ(handlers.calls, zveiCalls(1, 250) << QStringLiteral("Z:1000"));
  EXPECT_EQ(statusLabel.caption(), QStringLiteral("Err:Überlauf"));
}

} // namespace
} // namespace meldlux::testing
