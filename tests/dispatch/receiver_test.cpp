#include "dispatch_fixture.h"

#include <limits>

namespace meldlux::testing {
namespace {

TEST_F(DispatchTest, EveryPieceCountsInTheBurstWindow) {
  receive(QStringLiteral("ZVEI\t1\r\n\r\nrubbish\r\n#!XX!#\r\n"));
  EXPECT_EQ(state.ReceiveBurstCount, 5);
  EXPECT_FLOAT_EQ(state.ReceiveBurstStart, float(clock.secondsSinceMidnight()));
}

TEST_F(DispatchTest, BurstWindowRestartsAfterTwoSeconds) {
  receive(QStringLiteral("a\r\nb"));
  clock.advance(1.5);
  receive(QStringLiteral("c"));
  EXPECT_EQ(state.ReceiveBurstCount, 3);
  clock.advance(1.0); // 2.5 s after the window began
  receive(QStringLiteral("d\r\ne"));
  EXPECT_EQ(state.ReceiveBurstCount, 2);
  EXPECT_FLOAT_EQ(state.ReceiveBurstStart, float(clock.secondsSinceMidnight()));
}

TEST_F(DispatchTest, BurstWindowRestartsWhenTheClockGoesBack) {
  receive(QStringLiteral("a"));
  clock.advance(-3);
  receive(QStringLiteral("b"));
  EXPECT_EQ(state.ReceiveBurstCount, 1);
}

TEST_F(DispatchTest, EmptyBlockCountsOnePiece) {
  receive(QString());
  EXPECT_EQ(state.ReceiveBurstCount, 1);
  EXPECT_EQ(state.LastReceived, 0.0);
}

TEST_F(DispatchTest, RecognisedPiecesRefreshLastReceived) {
  const std::vector<QString> recognised = {
      QStringLiteral("#!XX!#"), QStringLiteral("ZVEI12345"), // a tab line, though rejected
      QStringLiteral("POC"), QStringLiteral("a#![]!#b")};    // a marker line, though too short
  for (const QString& piece : recognised) {
    SCOPED_TRACE(piece.toStdString());
    clock.advance(10);
    receive(piece);
    EXPECT_EQ(state.LastReceived, clock.now());
  }
  const OleDate last = state.LastReceived;
  clock.advance(10);
  receive(QStringLiteral("\r\nrubbish\r\n#!XX!\r\n"));
  EXPECT_EQ(state.LastReceived, last);
  EXPECT_EQ(state.ReceivedTotal, 0);
  EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(DispatchTest, LinesSplitAcrossBlocksAreNotJoined) {
  receive(QStringLiteral("ZVE"));
  receive(QStringLiteral("I\t12345\r\n"));
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(state.ReceivedTotal, 0);
}

TEST_F(DispatchTest, LinesAreHandledInOrder) {
  receive(QStringLiteral("ZVEI\t1\r\nZVEI\t2\r\nZVEI\t3"));
  ASSERT_EQ(handlers.calls.size(), 3u);
  EXPECT_EQ(handlers.calls[0].first, "1");
  EXPECT_EQ(handlers.calls[1].first, "2");
  EXPECT_EQ(handlers.calls[2].first, "3");
}

TEST_F(DispatchTest, ReceiveFailureShowsErrAndDropsTheRestOfTheBlock) {
  state.ReceiveBurstStart = float(clock.secondsSinceMidnight());
  state.ReceiveBurstCount = std::numeric_limits<std::int32_t>::max() - 1;
  receive(QStringLiteral("ZVEI\t1\r\nZVEI\t2\r\nZVEI\t3"));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().first, "1");
  EXPECT_EQ(statusLabel.caption(), QStringLiteral("Err:Überlauf"));
  EXPECT_EQ(statusLabel.colour(), 255);

  // The next block starts afresh once the window has passed.
  clock.advance(3);
  receive(QStringLiteral("ZVEI\t4"));
  EXPECT_EQ(handlers.last().first, "4");
}

TEST_F(DispatchTest, CounterOverflowDropsTheLineOnly) {
  state.ReceivedTotal = std::numeric_limits<std::int32_t>::max();
  receive(QStringLiteral("ZVEI\t1"));
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(statusLabel.caption(), "Unbekannt");
}

} // namespace
} // namespace meldlux::testing
