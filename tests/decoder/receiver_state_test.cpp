// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver_state.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace meldlux::multimon;

TEST(ReceiverState, TheHeartbeatSaysOkOrDownSinceTheFirstFaultWithItsOffset) {
  const QTimeZone berlin(QByteArrayLiteral("Europe/Berlin"));
  ReceiverState state;
  EXPECT_EQ(state.heartbeatLine(10), QByteArrayLiteral("#!XX!# meldlux interval=10 receiver=ok"));

  state.fault(QDateTime(QDate(2026, 12, 8), QTime(12, 0, 0, 400), berlin));
  state.fault(QDateTime(QDate(2026, 12, 8), QTime(12, 0, 5), berlin)); // still down: same since
  EXPECT_FALSE(state.ok());
  EXPECT_EQ(state.restarts(), 2);
  EXPECT_EQ(state.heartbeatLine(2.5),
            QByteArrayLiteral(
                "#!XX!# meldlux interval=2.5 receiver=down since=2026-12-08T12:00:00+01:00"));

  state.flowing();
  EXPECT_TRUE(state.ok());
  EXPECT_EQ(state.heartbeatLine(10), QByteArrayLiteral("#!XX!# meldlux interval=10 receiver=ok"));
  state.fault(QDateTime(QDate(2026, 7, 1), QTime(8, 30), berlin)); // summer: two hours ahead
  EXPECT_TRUE(state.heartbeatLine(10).endsWith("since=2026-07-01T08:30:00+02:00"));
  state.flowing();
  state.fault(QDateTime(QDate(2026, 7, 1), QTime(8, 30), QTimeZone::utc()));
  EXPECT_TRUE(state.heartbeatLine(10).endsWith("since=2026-07-01T08:30:00+00:00"));
  state.flowing();
  state.fault(QDateTime(QDate(2026, 7, 1), QTime(8, 30), QTimeZone(-(3 * 3600 + 1800))));
  EXPECT_TRUE(state.heartbeatLine(10).endsWith("since=2026-07-01T08:30:00-03:30"));
}
