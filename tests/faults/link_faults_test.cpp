// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_run.h"

#include <iostream>

// The link misbehaves: the server closes in the middle of a line, resets the connection, accepts
// and stays silent, accepts and never reads, or restarts again and again. After each fault the
// program must show the next valid telegram, and its event loop must have kept turning. The
// program's clock runs 20 times as fast, so its 30 s connection checks come every 1.5 s.
using namespace meldlux::faults;

namespace {

constexpr int kRate = 20;
// Real time for the first check (4 s) or the next one (30 s), with room for a loaded machine.
constexpr int kFirstCheckRealMs = 4000 / kRate + 8000;
constexpr int kNextCheckRealMs = 30000 / kRate + 8000;

// The connection check runs every 30 s of program time; a reconnection comes with the first check
// after the loss, so consecutive connections lie one check apart, never in the same tick (0 s) nor
// two checks (60 s). The clock runs 20 times as fast, so 0.5 s of real delay on a loaded machine
// is 10 s of program time: the bounds lie halfway to either fault.
void expectOneCheckApart(const QList<qint64>& since) {
  for (qsizetype i = 1; i < since.size(); ++i) {
    EXPECT_GE(since[i] - since[i - 1], 15) << "connection " << i;
    EXPECT_LE(since[i] - since[i - 1], 45) << "connection " << i;
  }
}

} // namespace

TEST(LinkFaults, ServerClosesInTheMiddleOfALine) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate);
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kFirstCheckRealMs));

  // A line cut by the network into two blocks is lost: neither piece is a telegram by itself.
  ASSERT_TRUE(run.server.send("FMSTlg\t6123ABCD\t\t\t"));
  QThread::msleep(300);
  ASSERT_TRUE(run.server.send("\t\t3\t\t0\t\t\t\t\t\r\nZVEI\t11111\r\n"));
  ASSERT_TRUE(run.shows(QStringLiteral("11111 Unbekannt")));
  EXPECT_FALSE(run.meldlux.log().contains(QStringLiteral("(6123ABCD)")));

  // Then the server goes away halfway through a line; the half is a piece of its own.
  ASSERT_TRUE(run.server.send("ZVEI\t22222\r\nFMSTlg\t6123AB"));
  run.server.close();
  ASSERT_TRUE(run.shows(QStringLiteral("22222 Unbekannt")));
  ASSERT_TRUE(waitFor([&] { return run.lastStatus() == u"255\tGetrennt"; }, 3000))
      << run.lastStatus().toStdString();
  EXPECT_TRUE(run.meldlux.logged(QStringLiteral("button\tVerbinden")));
  EXPECT_TRUE(run.loopTurns());

  // The next check connects and logs in again; the next telegram shows.
  ASSERT_TRUE(run.connectsAndLogsIn(kNextCheckRealMs));
  ASSERT_TRUE(run.server.send("ZVEI\t33333\r\n"));
  EXPECT_TRUE(run.shows(QStringLiteral("33333 Unbekannt")));
  EXPECT_EQ(run.connectedSince().size(), 2);
  expectOneCheckApart(run.connectedSince());
  std::cout << "longest event-loop gap: " << run.longestRealGap() << " ms\n";
}

TEST(LinkFaults, ServerResetsTheConnection) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate);
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kFirstCheckRealMs));
  ASSERT_TRUE(run.server.send("ZVEI\t11111\r\n"));
  ASSERT_TRUE(run.shows(QStringLiteral("11111 Unbekannt")));

  run.server.reset();
  ASSERT_TRUE(waitFor([&] { return run.lastStatus().startsWith(u"255\t"); }, 3000))
      << run.lastStatus().toStdString();
  EXPECT_TRUE(run.loopTurns());

  ASSERT_TRUE(run.connectsAndLogsIn(kNextCheckRealMs));
  ASSERT_TRUE(run.server.send("ZVEI\t22222\r\n"));
  EXPECT_TRUE(run.shows(QStringLiteral("22222 Unbekannt")));
  expectOneCheckApart(run.connectedSince());
}

// Silence on a connected link is no fault the program can see: it stays connected through many
// checks, sends its keepalive once the link has been quiet long enough, and shows the telegram
// that finally comes. A server that never reads changes nothing either: the few bytes the program
// sends wait in the buffers.
TEST(LinkFaults, ServerAcceptsAndNeverSendsOrNeverReads) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  const struct {
    const char* name;
    bool serverReads;
  } cases[] = {{"never sends", true}, {"never reads", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FaultRun run(kRate, QStringLiteral("Keepalive=60\n"));
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.connectsAndLogsIn(kFirstCheckRealMs));
    const qint64 connectedAt = run.programMs();

    // Five checks (150 s of program time) of silence.
    QByteArray received;
    ASSERT_TRUE(waitFor(
        [&] {
          if (c.serverReads)
            received = run.server.received();
          return run.programMs() > connectedAt + 150000;
        },
        20000));
    EXPECT_TRUE(run.loopTurns());
    EXPECT_EQ(run.meldlux.log().count(QStringLiteral("\nconnect\t")), 1); // no reconnection
    EXPECT_TRUE(run.lastStatus().startsWith(u"65280\tVerbunden seit ")) << run.lastStatus().toStdString();
    // With 60 s the keepalive goes at a check in the first half of a minute, after 30 s silence.
    EXPECT_TRUE(run.meldlux.logged(QStringLiteral("sent\t "))) << run.meldlux.log().toStdString();
    if (c.serverReads) {
      received = run.server.received(200);
      EXPECT_TRUE(received.startsWith("PASS:geheim\r\n ")) << received.toStdString();
    }

    ASSERT_TRUE(run.server.send("ZVEI\t44444\r\n"));
    EXPECT_TRUE(run.shows(QStringLiteral("44444 Unbekannt")));
    if (!c.serverReads) { // what the server never read is all there, in order
      EXPECT_TRUE(run.server.received(200).startsWith("PASS:geheim\r\n "));
    }
    std::cout << c.name << ": longest event-loop gap " << run.longestRealGap() << " ms\n";
  }
}

// The server restarts 20 times in a row: each time the program shows "Getrennt", connects again
// at its next check (30 s of program time after the last connection), logs in and shows the next
// telegram.
TEST(LinkFaults, ServerRestartedTwentyTimes) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate);
  // Twenty checks are ten minutes of program time: the day ends halfway through.
  run.clockStartsAt(QTime(23, 55));
  ASSERT_TRUE(run.start());
  const quint16 port = run.server.port();
  for (int i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(run.connectsAndLogsIn(i == 0 ? kFirstCheckRealMs : kNextCheckRealMs));
    const QByteArray code = QByteArray::number(50000 + i);
    ASSERT_TRUE(run.server.send("ZVEI\t" + code + "\r\n"));
    ASSERT_TRUE(run.shows(QString::fromLatin1(code) + QStringLiteral(" Unbekannt")));
    // The restart: the connection and the listening port go, and the port opens again.
    run.server.close();
    run.server.stopListening();
    ASSERT_TRUE(waitFor([&] { return run.lastStatus() == u"255\tGetrennt"; }, 3000));
    ASSERT_TRUE(run.server.listen(port));
  }
  const QList<qint64> since = run.connectedSince();
  EXPECT_EQ(since.size(), 20);
  expectOneCheckApart(since);
  EXPECT_EQ(run.meldlux.log().count(QStringLiteral("sent\tPASS:geheim\\r\\n")), 20);
  EXPECT_TRUE(run.loopTurns());
  std::cout << "longest event-loop gap: " << run.longestRealGap() << " ms\n";
  EXPECT_TRUE(run.endsOnSigterm());
}
