// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_run.h"
#include "journal/journal_reader.h"

#include <iostream>

// The alarm chain breaks while the real program watches it: the receiver behind the server goes
// down and back, the server falls silent, then dies and comes back. Each reaches the strip, the
// warning sound, the tray's tip and the journal, and so does each end. The program's clock runs
// 20 times as fast: a minute of its time is 3 s of the test's.
using namespace meldlux;
using namespace meldlux::faults;

TEST(SupervisionFaults, ReceiverDownServerSilentServerDeadAndBack) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(20, QStringLiteral("[Überwachung]\nVerbindungWarnenNach=60\nWarnungWiederholen=1\n"));
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(8200));
  const auto logged = [&run](const char* line) {
    return waitFor([&] { return run.meldlux.log().contains(QString::fromUtf8(line)); }, 8000);
  };
  ASSERT_TRUE(run.server.send("#!XX!# meldlux interval=10 receiver=down "
                              "since=2026-12-08T12:00:00+01:00\r\n"));
  ASSERT_TRUE(logged("supervision\twarning\treceiver\tEmpfänger gestört seit "));
  ASSERT_TRUE(run.shows(QStringLiteral("Empfänger gestört seit ")));
  ASSERT_TRUE(run.server.send("#!XX!# meldlux interval=10 receiver=ok\r\n"));
  ASSERT_TRUE(logged("supervision\trecovery\treceiver\tEmpfänger wieder in Ordnung"));
  // Nothing for three announced intervals; a line ends it.
  ASSERT_TRUE(logged("supervision\twarning\tsilence\tServer schweigt seit "));
  EXPECT_TRUE(logged("tray\tmodify\tServer schweigt seit "));
  ASSERT_TRUE(run.server.send("ZVEI\t11111\r\n"));
  ASSERT_TRUE(logged("supervision\trecovery\tsilence\tServer sendet wieder"));

  // The server dies and stays away: after 60 s the warning, a minute later again.
  const quint16 port = run.server.port();
  run.server.close();
  run.server.stopListening();
  ASSERT_TRUE(logged("supervision\twarning\tlink\tKeine Verbindung zum Server seit "));
  EXPECT_TRUE(run.shows(QStringLiteral("Keine Verbindung zum Server seit ")));
  EXPECT_TRUE(logged("tray\tmodify\tKeine Verbindung zum Server seit "));
  ASSERT_TRUE(logged("supervision\trepeat\tlink\tKeine Verbindung zum Server"));
  const QString log = run.meldlux.log();
  EXPECT_GE(log.count(QRegularExpression(QStringLiteral("\nsound\t[^\n]*/stoerung\\.wav\n"))), 4);
  EXPECT_FALSE(log.contains(QStringLiteral("\nstatus\t255\tKeine Verbindung")));
  // The figure: program time from the loss to the warning, each the tick line before it.
  const qint64 deadToWarning =
      lastTick(log.left(log.indexOf(QStringLiteral("supervision\twarning\tlink")))) -
      lastTick(log.left(log.indexOf(QStringLiteral("status\t255\tGetrennt"))));
  std::cout << "dead link to warning (VerbindungWarnenNach=60): " << deadToWarning << " ms\n";
  EXPECT_GE(deadToWarning, 59000);
  EXPECT_LE(deadToWarning, 70000);

  // The server comes back: the next check connects, the tip is the summary again.
  ASSERT_TRUE(run.server.listen(port));
  ASSERT_TRUE(run.connectsAndLogsIn(9500));
  ASSERT_TRUE(logged("supervision\trecovery\tlink\tVerbindung wieder da (unterbrochen "));
  EXPECT_TRUE(run.shows(QStringLiteral("Verbindung wieder da (unterbrochen ")));
  ASSERT_TRUE(run.endsOnSigterm());
  const QString end = run.meldlux.log();
  EXPECT_FALSE(QStringView(end).mid(end.lastIndexOf(QStringLiteral("\ntray\tmodify\t")))
                   .startsWith(u"\ntray\tmodify\tKeine Verbindung"));
  JournalFilter ours;
  ours.kinds = {kJournalSupervision};
  EXPECT_GE(JournalReader(run.meldlux.journalPath()).count(ours), 6) << "3 warnings, 3 ends";
}
