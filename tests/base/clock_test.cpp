// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/clock.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace meldlux;

TEST(ManualClock, SecondsSinceMidnightFollowTheDate) {
  ManualClock clock(46360.5);
  EXPECT_DOUBLE_EQ(clock.secondsSinceMidnight(), 43200.0);
  clock.advance(90);
  EXPECT_NEAR(clock.secondsSinceMidnight(), 43290.0, 1e-6);
  EXPECT_NEAR((clock.now() - 46360.5) * kSecondsPerDay, 90.0, 1e-6);
}

TEST(SystemClock, LocalDateAgreesWithTheDateTimeConversion) {
  SystemClock clock;
  // Around the epoch, negative instants, this century, both sides of the summer-time switches
  // of 2026 in Central Europe (29.03. 01:00 UTC, 25.10. 01:00 UTC), read out of order, some
  // twice in a row and some a millisecond apart (the last result is kept for its millisecond).
  const qint64 spring = 1'774'746'000'000, autumn = 1'792'890'000'000;
  for (const qint64 ms :
       {qint64(0), qint64(-1), qint64(-1), qint64(-86400001), qint64(1'796'400'000'123), spring - 1,
        spring, spring, autumn - 1, autumn, spring + 500, spring + 500, spring + 501, spring - 1})
    EXPECT_DOUBLE_EQ(clock.localDate(ms), toOleDate(QDateTime::fromMSecsSinceEpoch(ms))) << ms;

  const OleDate before = toOleDate(QDateTime::currentDateTime());
  const OleDate now = clock.now();
  EXPECT_LE(before, now);
  EXPECT_LE(now, toOleDate(QDateTime::currentDateTime()));
}
