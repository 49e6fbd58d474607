// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_run.h"
#include "journal/journal_reader.h"

#include <iostream>

// The alarm chain breaks while the real program watches it: the receiver behind the server goes
// down and comes back, the server falls silent, then dies and comes back. Each break reaches the
// strip, the warning sound, the tray's tip and the journal, and each end of one says so. The
// program's clock runs 20 times as fast: a minute of its time is 3 s of the test's.
using namespace meldlux;
using namespace meldlux::faults;

namespace {

constexpr int kRate = 20;

// The program's time (tick milliseconds) of the last tick line before `text` in the log.
qint64 tickBefore(const QString& log, const QString& text) {
  const qsizetype at = log.indexOf(text);
  return at < 0 ? -1 : lastTick(log.left(at));
}

} // namespace

TEST(SupervisionFaults, ReceiverDownServerSilentServerDeadAndBack) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate, QStringLiteral("[Überwachung]\nVerbindungWarnenNach=60\n"
                                     "WarnungWiederholen=1\n"));
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(4000 / kRate + 8000));
  const auto logged = [&run](const QString& line, int realMs = 8000) {
    return waitFor([&] { return run.meldlux.log().contains(line); }, realMs);
  };

  // The server says its receiver is down, and since when; then that it is back.
  ASSERT_TRUE(run.server.send("#!XX!# meldlux interval=10 receiver=down "
                              "since=2026-12-08T12:00:00+01:00\r\n"));
  ASSERT_TRUE(logged(QStringLiteral("supervision\twarning\treceiver\tEmpfänger gestört seit ")))
      << run.meldlux.log().toStdString();
  ASSERT_TRUE(run.shows(QStringLiteral("Empfänger gestört seit ")));
  ASSERT_TRUE(run.server.send("#!XX!# meldlux interval=10 receiver=ok\r\n"));
  ASSERT_TRUE(logged(QStringLiteral("supervision\trecovery\treceiver\tEmpfänger wieder in Ordnung")));

  // Connected, but nothing for three announced intervals: the server is silent; a line ends it.
  ASSERT_TRUE(logged(QStringLiteral("supervision\twarning\tsilence\tServer schweigt seit ")));
  EXPECT_TRUE(logged(QStringLiteral("tray\tmodify\tServer schweigt seit ")));
  ASSERT_TRUE(run.server.send("ZVEI\t11111\r\n"));
  ASSERT_TRUE(logged(QStringLiteral("supervision\trecovery\tsilence\tServer sendet wieder")));

  // The server dies and stays away: after 60 s the warning, a minute later again.
  const quint16 port = run.server.port();
  run.server.close();
  run.server.stopListening();
  const QString linkWarning = QStringLiteral("supervision\twarning\tlink\tKeine Verbindung zum "
                                             "Server seit ");
  ASSERT_TRUE(logged(linkWarning)) << run.meldlux.log().right(3000).toStdString();
  EXPECT_TRUE(run.shows(QStringLiteral("Keine Verbindung zum Server seit ")));
  EXPECT_TRUE(logged(QStringLiteral("tray\tmodify\tKeine Verbindung zum Server seit ")));
  ASSERT_TRUE(logged(QStringLiteral("supervision\trepeat\tlink\tKeine Verbindung zum Server")));
  const QString log = run.meldlux.log();
  EXPECT_GE(log.count(QRegularExpression(QStringLiteral("\nsound\t[^\n]*/stoerung\\.wav\n"))), 4)
      << "receiver, silence, link and its repeat each sound the shipped warning";
  // The status label keeps what the link writes there.
  EXPECT_FALSE(log.contains(QStringLiteral("\nstatus\t255\tKeine Verbindung")));
  const qint64 deadToWarning = tickBefore(log, linkWarning) -
                               tickBefore(log, QStringLiteral("status\t255\tGetrennt"));
  std::cout << "dead link to warning (VerbindungWarnenNach=60): " << deadToWarning
            << " ms of program time\n";
  EXPECT_GE(deadToWarning, 59000);
  EXPECT_LE(deadToWarning, 70000);

  // The server comes back: the next check connects, the tip is the summary again.
  ASSERT_TRUE(run.server.listen(port));
  ASSERT_TRUE(run.connectsAndLogsIn(30000 / kRate + 8000));
  ASSERT_TRUE(logged(QStringLiteral("supervision\trecovery\tlink\tVerbindung wieder da "
                                    "(unterbrochen ")));
  EXPECT_TRUE(run.shows(QStringLiteral("Verbindung wieder da (unterbrochen ")));
  ASSERT_TRUE(run.endsOnSigterm());
  const QString end = run.meldlux.log();
  const qsizetype back = end.lastIndexOf(QStringLiteral("\ntray\tmodify\t"));
  EXPECT_FALSE(QStringView(end).mid(back).startsWith(u"\ntray\tmodify\tKeine Verbindung"));

  // Each warning and each recovery is in the journal, in its own kind.
  QStringList journaled;
  JournalFilter ours;
  ours.kinds = {kJournalSupervision};
  for (const JournalEntry& e : JournalReader(run.meldlux.journalPath()).page(ours, 50))
    journaled.prepend(e.identifier + u' ' + e.message.section(u' ', 0, 1));
  for (const char* entry : {"receiver Empfänger gestört", "receiver Empfänger wieder",
                            "silence Server schweigt", "silence Server sendet",
                            "link Keine Verbindung", "link Verbindung wieder"})
    EXPECT_TRUE(journaled.contains(QString::fromUtf8(entry))) << entry << "\n"
                                                              << journaled.join(u'\n').toStdString();
}
