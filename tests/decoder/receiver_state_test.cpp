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
  EXPECT_EQ(state.heartbeatLine(2.5),
            QByteArrayLiteral(
                "#!XX!# meldlux interval=2.5 receiver=down since=2026-12-08T12:00:00+01:00"));

  state.flowing();
  EXPECT_EQ(state.heartbeatLine(10), QByteArrayLiteral("#!XX!# meldlux interval=10 receiver=ok"));
  // UTC too with its offset written out: Qt's ISO form would say "Z".
  state.fault(QDateTime(QDate(2026, 7, 1), QTime(8, 30), QTimeZone::utc()));
  EXPECT_TRUE(state.heartbeatLine(10).endsWith("since=2026-07-01T08:30:00+00:00"));
}

TEST(ReceiverState, TheBrokerStatusCarriesTheReceiverAndAStationReadsItBack) {
  const QTimeZone berlin(QByteArrayLiteral("Europe/Berlin"));
  const QDateTime noon(QDate(2026, 12, 8), QTime(12, 0), berlin);
  ReceiverState state;
  EXPECT_EQ(state.statusJson(true, false), QByteArrayLiteral("{\"online\":true}"));
  state.telegram(noon.addSecs(-60));
  state.fault(noon);
  const QByteArray down = state.statusJson(true, true);
  EXPECT_EQ(down, QByteArrayLiteral("{\"last_telegram\":\"2026-12-08T11:59:00+01:00\","
                                    "\"online\":true,\"receiver\":\"down\",\"restarts\":1,"
                                    "\"since\":\"2026-12-08T12:00:00+01:00\"}"));

  // At the station: the same heartbeat as at the receiver.
  const QDateTime later = noon.addSecs(300);
  EXPECT_EQ(ReceiverState::fromStatusJson(down, later).value().heartbeatLine(10),
            state.heartbeatLine(10));
  EXPECT_TRUE(
      ReceiverState::fromStatusJson(ReceiverState().statusJson(true, true), later).value().ok());
  // The receiving bridge gone (its last will): down since the station heard it.
  EXPECT_EQ(ReceiverState::fromStatusJson(ReceiverState::offlineJson(), later).value().downSince(),
            later);
  // No word on the receiver, or no status at all: nothing to tell.
  EXPECT_FALSE(ReceiverState::fromStatusJson("{\"online\":true}", later));
  EXPECT_FALSE(ReceiverState::fromStatusJson("online", later));
}
