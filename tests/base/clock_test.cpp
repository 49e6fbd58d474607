#include "base/clock.h"

#include <gtest/gtest.h>

using namespace meldlux;

TEST(ManualClock, SecondsSinceMidnightFollowTheDate) {
  ManualClock clock(46360.5);
  EXPECT_DOUBLE_EQ(clock.secondsSinceMidnight(), 43200.0);
  clock.advance(90);
  EXPECT_NEAR(clock.secondsSinceMidnight(), 43290.0, 1e-6);
  EXPECT_NEAR((clock.now() - 46360.5) * kSecondsPerDay, 90.0, 1e-6);
}
