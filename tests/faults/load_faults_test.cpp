// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_run.h"

#include "base/cp1252.h"
#include "base/event_log.h"

#include <QElapsedTimer>
#include <iostream>
#include <vector>

// The server floods the program or sends what a real server may send by mistake. The program
// must stay within its memory, keep its event loop turning, show the next valid telegram and
// write an event log that holds no raw control character.
using namespace meldlux::faults;

namespace {

// Real time for the first connection check (4 s after start), with room for a loaded machine.
constexpr int kFirstCheckRealMs = 15000;

// Resident memory sampled while something happens; VmHWM covers what sampling misses.
struct MemoryWatch {
  explicit MemoryWatch(qint64 pid) : pid(pid), baseline(statusKb(pid, "VmRSS")) {}
  void sample() { peak = std::max(peak, statusKb(pid, "VmRSS")); }
  qint64 pid;
  long baseline;
  long peak = 0;
};

} // namespace

// 50 MB without a line end: no block is kept for a line end that may come, so memory stays
// bounded while the bytes arrive and goes back afterwards; the next line shows at once. Twice,
// so that memory the allocator keeps after the first round shows as no growth in the second.
TEST(LoadFaults, FiftyMegabytesWithoutALineEnd) {
  FaultRun run;
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kFirstCheckRealMs));
  ASSERT_TRUE(run.server.send("ZVEI\t11111\r\n"));
  ASSERT_TRUE(run.shows(QStringLiteral("11111 Unbekannt")));
  QThread::msleep(500);

  MemoryWatch memory(run.meldlux.process.processId());
  const QByteArray junk(50 * 1024 * 1024, 'A');
  long after[2] = {0, 0};
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    const qint64 from = run.programMs();
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(run.server.send(junk, 60000, [&] { memory.sample(); }));
    const QString code = QString::number(22222 + round);
    ASSERT_TRUE(run.server.send("\r\nZVEI\t" + code.toLatin1() + "\r\n"));
    ASSERT_TRUE(run.shows(code + QStringLiteral(" Unbekannt"), 20000));
    const qint64 shownAfterMs = elapsed.elapsed();
    memory.sample();
    EXPECT_TRUE(run.loopTurns());
    QThread::msleep(1000);
    after[round] = statusKb(memory.pid, "VmRSS");
    std::cout << "50 MB line, round " << round + 1 << ": RSS before " << memory.baseline
              << " kB, peak sampled " << memory.peak << " kB (VmHWM "
              << statusKb(memory.pid, "VmHWM") << " kB), after " << after[round]
              << " kB; next line shown " << shownAfterMs
              << " ms after the first byte; longest event-loop gap " << run.longestRealGap(from)
              << " ms\n";
  }
  const long hwm = statusKb(memory.pid, "VmHWM");
  EXPECT_TRUE(run.endsOnSigterm());
  if (kSanitized)
    return; // the sanitizer keeps freed memory and runs slower: figures only
  EXPECT_LT(memory.peak - memory.baseline, 40 * 1024); // buffering the line would take > 150 MB
  EXPECT_LT(hwm - memory.baseline, 40 * 1024);
  EXPECT_LT(after[1] - memory.baseline, 16 * 1024);
  EXPECT_LT(after[1] - after[0], 8 * 1024);
}

// 100,000 valid lines in one burst: every one is handled and counted, the event loop is never held
// up for long, and memory goes back afterwards. Each received block is split on its own, so a
// line that straddles two blocks is lost by design (its first piece may still count, or show
// cut short); those are the only lines allowed to go missing: one per block, some dozens here,
// against the 3000 lines that one lost block of 64 KB would take.
TEST(LoadFaults, HundredThousandLinesInOneBurst) {
  FaultRun run;
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kFirstCheckRealMs));
  QThread::msleep(500);

  // Every line unique, so that no repeat is held back and each shows once.
  constexpr int kLines = 100000;
  QByteArray burst;
  for (int i = 0; i < kLines; ++i) {
    const QByteArray n = QByteArray::number(i);
    switch (i % 3) {
    case 0: burst += "FMSTlg\t6" + n.rightJustified(7, '0') + "\t\t\t\t\t3\t\t0\r\n"; break;
    case 1: burst += "ZVEI\t" + n.rightJustified(5, '0') + "\r\n"; break;
    default: burst += "POC\t" + n.rightJustified(7, '0') + "\tA\tBurst " + n + "\r\n";
    }
  }
  MemoryWatch memory(run.meldlux.process.processId());
  const qint64 from = run.programMs();
  ASSERT_TRUE(run.server.send(burst, 150000, [&] { memory.sample(); }));
  // Done when the status line has stood still for a second.
  QString status = run.lastStatus();
  QDeadlineTimer still(1000);
  ASSERT_TRUE(waitFor(
      [&] {
        memory.sample();
        const QString now = run.lastStatus();
        if (now != status) {
          status = now;
          still.setRemainingTime(1000);
        }
        return still.hasExpired();
      },
      150000));
  EXPECT_TRUE(run.loopTurns());
  const QString log = run.meldlux.log();
  // The program time of the last counter update, by the tick line before it.
  const qint64 handledMs = lastTick(log.left(log.lastIndexOf(QStringLiteral("\nstatus\t")))) - from;
  const qint64 gap = run.longestRealGap(from);

  // Which lines showed whole.
  static const QRegularExpression message(QStringLiteral("^message\\t[^\\t]*\\t\\d+\\t(.*)$"),
                                          QRegularExpression::MultilineOption);
  static const QRegularExpression fms(QStringLiteral("\\(6(\\d{7})\\)"));
  static const QRegularExpression zvei(QStringLiteral("^(\\d{5}) Unbekannt$"));
  static const QRegularExpression poc(QStringLiteral("^(\\d{7}) \\[A\\] Unbekannt Burst (\\d+)$"));
  std::vector<bool> whole(kLines, false);
  int shown[3] = {0, 0, 0};
  for (auto it = message.globalMatch(log); it.hasNext();) {
    const QString text = it.next().captured(1);
    int i = -1;
    int kind = -1;
    if (const auto m = fms.match(text); m.hasMatch()) {
      i = m.captured(1).toInt();
      kind = 0;
    } else if (const auto m = zvei.match(text); m.hasMatch()) {
      i = m.captured(1).toInt();
      kind = 1;
    } else if (const auto m = poc.match(text); m.hasMatch() && m.captured(1).toInt() == m.captured(2).toInt()) {
      i = m.captured(1).toInt();
      kind = 2;
    }
    if (i >= 0 && i < kLines && i % 3 == kind && !whole[size_t(i)]) {
      whole[size_t(i)] = true;
      ++shown[kind];
    }
  }
  const int lost = kLines - shown[0] - shown[1] - shown[2];

  static const QRegularExpression counters(
      QStringLiteral("Empfangen: (\\d+) \\(FMS: (\\d+), FME: (\\d+), DME: (\\d+)\\)$"));
  const auto counted = counters.match(status);
  ASSERT_TRUE(counted.hasMatch()) << status.toStdString();
  const int total = counted.captured(1).toInt();
  const int handled[3] = {counted.captured(2).toInt(), counted.captured(3).toInt(),
                          counted.captured(4).toInt()};
  EXPECT_LE(lost, 500) << "more lines missing than blocks could split";
  for (int kind = 0; kind < 3; ++kind) {
    EXPECT_GE(handled[kind], shown[kind]) << kind; // whatever showed was counted
    EXPECT_LE(handled[kind] - shown[kind], lost) << kind; // a cut first piece at most per loss
  }
  const int handledAll = handled[0] + handled[1] + handled[2];
  EXPECT_GE(total, handledAll);
  EXPECT_LE(total, kLines);
  EXPECT_LE(total - handledAll, lost);

  // After the burst window the next telegram shows as usual.
  QThread::msleep(2500);
  ASSERT_TRUE(run.server.send("ZVEI\t77777\r\n"));
  EXPECT_TRUE(run.shows(QStringLiteral("77777 Unbekannt")));
  const long after = statusKb(memory.pid, "VmRSS");
  const long hwm = statusKb(memory.pid, "VmHWM");
  std::cout << "100,000 lines (" << burst.size() << " bytes): handled within " << handledMs
            << " ms of the first byte; " << lost << " lost between blocks; counted " << total
            << " (FMS " << handled[0] << ", FME " << handled[1] << ", DME " << handled[2]
            << "); longest event-loop gap " << gap << " ms; RSS before " << memory.baseline
            << " kB, peak sampled " << memory.peak << " kB (VmHWM " << hwm << " kB), after "
            << after << " kB\n";
  EXPECT_TRUE(run.endsOnSigterm());
  if (kSanitized)
    return; // figures only
  // The loop never freezes (the old code stalled 4.9 s). The 200 ms goal is the benchmark's
  // (bench/program.sh burst); a loaded machine stretches a test's gap far beyond it.
  EXPECT_LT(gap, 2000);
  EXPECT_LT(memory.peak - memory.baseline, 40 * 1024);
  EXPECT_LT(after - memory.baseline, 10 * 1024);
}

// Bytes a real server may send by mistake. Each reaches the handlers as the line it is (a lone CR
// or LF stays inside the line) and is followed by a valid telegram that must show.
TEST(LoadFaults, BytesAServerMaySendByMistake) {
  FaultRun run;
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kFirstCheckRealMs));

  QByteArray high; // every byte 0x80-0xFF
  for (int b = 0x80; b <= 0xff; ++b)
    high += char(b);
  const QString highText = meldlux::EventLog::escape(meldlux::cp1252::decode(high));
  const struct {
    const char* name;
    QByteArray bytes;
    QString shown; // as the event log writes it
  } cases[] = {
      {"NUL bytes", QByteArray("POC\t1234567\tA\tText\0mit\0NUL\r\n", 27),
       QStringLiteral("1234567 [A] Unbekannt Text\\x00mit\\x00NUL")},
      {"only NUL bytes", QByteArray(300, '\0') + "\r\n", {}},
      {"lone CR", "ZVEI\t12\r345\r\n", QStringLiteral("12\\r345 Unbekannt")},
      {"lone LF", "ZVEI\t67\n890\r\n", QStringLiteral("67\\n890 Unbekannt")},
      {"every byte 0x80-0xFF", "POC\t7654321\tB\t" + high + "\r\n",
       QStringLiteral("7654321 [B] Unbekannt ") + highText},
      {"a line of 10,000 TAB fields",
       "FMSTlg\t6123ABCE\t\t\t\t\t3\t\t0" + QByteArray(10000, '\t') + "\r\n",
       QStringLiteral("(6123ABCE)")},
      {"an FMS text of 10,000 characters",
       "FMSTlg\t6123ABCF\t\t\t\t\t3\t\t0\t\t2\t\t\t" + QByteArray(10000, 'x') + "\r\n",
       QString(10000, u'x')},
  };
  // Spot checks of the code page, so that the expectation above does not only restate it.
  EXPECT_TRUE(highText.startsWith(QStringLiteral("€\\x81‚"))) << highText.toStdString();
  EXPECT_TRUE(highText.endsWith(QStringLiteral("äåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ")));

  int code = 30000;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(run.server.send(c.bytes));
    if (!c.shown.isEmpty()) {
      EXPECT_TRUE(run.shows(c.shown));
    }
    const QString valid = QString::number(++code);
    ASSERT_TRUE(run.server.send("ZVEI\t" + valid.toLatin1() + "\r\n"));
    EXPECT_TRUE(run.shows(valid + QStringLiteral(" Unbekannt")));
    EXPECT_TRUE(run.loopTurns());
  }
  std::cout << "longest event-loop gap: " << run.longestRealGap() << " ms\n";
  EXPECT_TRUE(run.endsOnSigterm());

  // One event a line: no raw control character but the TABs and line ends of the format.
  QFile file(run.meldlux.logPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString log = QString::fromUtf8(file.readAll());
  for (QChar ch : log)
    if (ch.category() == QChar::Other_Control && ch != u'\t' && ch != u'\n')
      ADD_FAILURE() << "raw control character " << int(ch.unicode()) << " in the event log";
  static const QRegularExpression kind(QStringLiteral("^[a-z]+(\t|$)"));
  for (const QString& line : log.split(u'\n', Qt::SkipEmptyParts))
    EXPECT_TRUE(kind.match(line).hasMatch()) << line.left(80).toStdString();
}
