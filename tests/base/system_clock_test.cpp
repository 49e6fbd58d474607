#include "base/clock.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace meldlux;

TEST(SystemClock, LocalDateAgreesWithTheDateTimeConversion) {
  SystemClock clock;
  // Around the epoch, negative instants, this century, both sides of the summer-time switches
  // of 2026 in Central Europe (29.03. 01:00 UTC, 25.10. 01:00 UTC), read out of order.
  const qint64 instants[] = {0,
                             -1,
                             -86400001,
                             1'796'400'000'123,
                             1'774'746'000'000 - 1,
                             1'774'746'000'000,
                             1'792'890'000'000 - 1,
                             1'792'890'000'000,
                             1'774'746'000'000 + 500};
  for (const qint64 ms : instants) {
    SCOPED_TRACE(ms);
    EXPECT_DOUBLE_EQ(clock.localDate(ms), toOleDate(QDateTime::fromMSecsSinceEpoch(ms)));
  }
}

TEST(SystemClock, NowIsTheCurrentLocalTime) {
  SystemClock clock;
  const OleDate before = toOleDate(QDateTime::currentDateTime());
  const OleDate now = clock.now();
  const OleDate after = toOleDate(QDateTime::currentDateTime());
  EXPECT_LE(before, now);
  EXPECT_LE(now, after);
}
