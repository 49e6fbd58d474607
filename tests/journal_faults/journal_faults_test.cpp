// SPDX-License-Identifier: GPL-3.0-or-later
#include "faults/fault_run.h"
#include "journal/journal_connection.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "base/clock.h"
#include "base/event_log.h"

#include <QSqlQuery>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

// The journal under fault, in the real program: whatever happens to its file, the strip keeps
// getting its lines, one notice tells of it, and the rows come once the file can be written.
namespace meldlux::faults {
namespace {

constexpr int kConnectMs = 15000;
// The fault's one warning; its line, tip and entry follow from it.
const QString kNotice = QStringLiteral(
    "supervision\twarning\tfault\tJournal kann gerade nicht schreiben, neuer Versuch folgt");

QString journalSettings(const QString& folder) {
  return QStringLiteral("[Journal]\nFolder=%1\nRetrySeconds=1\n").arg(folder);
}

std::int64_t rows(const QString& path, const QString& text = {}) {
  JournalReader reader(path);
  JournalFilter filter;
  filter.text = text;
  // The received telegrams; the journal's own fault and its end are entries of their own.
  filter.kinds = {JournalKind::FmsVehicle, JournalKind::FmsControl, JournalKind::Zvei,
                  JournalKind::Pocsag, JournalKind::Text};
  return reader.count(filter);
}

QByteArray zveiBlock(int first, int count) {
  QByteArray block;
  for (int i = first; i < first + count; ++i)
    block += "ZVEI\t" + QByteArray::number(i).rightJustified(5, '0') + "\r\n";
  return block;
}

bool run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A folder mounted for the test: a small tmpfs for a full disk, or a read-only view of another
// folder; needs root.
class SmallDisk {
public:
  explicit SmallDisk(const QString& size) {
    mounted_ = geteuid() == 0 && dir_.isValid() &&
               run("mount", {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", dir_.path()});
  }
  explicit SmallDisk(const QString& readOnlyView, bool) {
    mounted_ = geteuid() == 0 && dir_.isValid() &&
               run("mount", {"--bind", readOnlyView, dir_.path()});
    if (mounted_ && !remount("bind,ro")) {
      run("umount", {dir_.path()});
      mounted_ = false;
    }
  }
  ~SmallDisk() {
    if (mounted_)
      run("umount", {"-l", dir_.path()});
  }
  bool mounted() const { return mounted_; }
  QString path() const { return dir_.path(); }
  bool remount(const QString& options) {
    return run("mount", {"-o", "remount," + options, dir_.path()});
  }

private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

int countOf(const QString& log, const QString& text) { return int(log.count(text)); }

TEST(JournalFaults, SigkillInABurstKeepsEveryCommittedBlock) {
  QTemporaryDir folder;
  // Lines cut between two reads are carried over, so none is lost to the cut.
  const QString settings = journalSettings(folder.path()) + "[Verbindung]\nCarrySplitLines=1\n";
  FaultRun first(1, settings);
  ASSERT_TRUE(first.start());
  ASSERT_TRUE(first.connectsAndLogsIn(kConnectMs));
  const QString path = QDir(folder.path()).filePath("journal.sqlite");
  // Ten blocks, each handled and committed before the next.
  for (int block = 0; block < 10; ++block) {
    ASSERT_TRUE(first.server.send(zveiBlock(block * 100, 100)));
    ASSERT_TRUE(waitFor([&] { return rows(path) == (block + 1) * 100; }, 10000))
        << "block " << block << ": " << rows(path) << " rows";
  }
  // Then a burst, killed while it is being handled.
  first.server.client()->write(zveiBlock(1000, 60000));
  ASSERT_TRUE(waitFor(
      [&] {
        first.server.client()->waitForBytesWritten(10);
        return rows(path) > 1000;
      },
      20000));
  ::kill(pid_t(first.meldlux.process.processId()), SIGKILL);
  ASSERT_TRUE(first.meldlux.process.waitForFinished(5000));

  ASSERT_TRUE(run(binary("meldlux-journal"), {"check", "--file", path}));
  JournalReader reader(path);
  const std::int64_t kept = reader.count({});
  EXPECT_GT(kept, 1000);
  // The rows are exactly the lines in the order they came, none missing (newest first here).
  std::int64_t expected = kept - 1;
  std::int64_t before = 0;
  for (auto page = reader.page({}, 5000); !page.empty(); page = reader.page({}, 5000, before)) {
    for (const JournalEntry& e : page) {
      ASSERT_EQ(e.identifier.toStdString(),
                QString::number(expected).rightJustified(5, u'0').toStdString())
          << e.line.toStdString();
      --expected;
    }
    before = page.back().id;
  }
  EXPECT_EQ(expected, -1);
  std::cout << "killed in a burst: " << kept << " rows kept\n";

  // The next start goes on in the same file.
  FaultRun second(1, settings);
  ASSERT_TRUE(second.start());
  ASSERT_TRUE(second.connectsAndLogsIn(kConnectMs));
  ASSERT_TRUE(second.server.send("ZVEI\t99999\r\n"));
  ASSERT_TRUE(second.shows("99999 Unbekannt"));
  EXPECT_TRUE(waitFor([&] { return rows(path) == kept + 1; }, 10000)) << rows(path);
  EXPECT_FALSE(second.meldlux.log().contains("journal\tfailed"));
}

TEST(JournalFaults, DamagedFileIsMovedAsideAndANewOneBegins) {
  QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath("journal.sqlite");
  QFile junk(path);
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(16384, '\x5a'));
  junk.close();
  FaultRun run(1, journalSettings(folder.path()));
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kConnectMs));
  ASSERT_TRUE(run.server.send("ZVEI\t12121\r\n"));
  ASSERT_TRUE(run.shows("12121 Unbekannt"));
  EXPECT_TRUE(waitFor([&] { return rows(path, "12121") == 1; }, 10000))
      << QDir(folder.path()).entryList().join(' ').toStdString();
  const QStringList aside = QDir(folder.path()).entryList({"journal.damaged-*.sqlite"});
  ASSERT_EQ(aside.size(), 1) << QDir(folder.path()).entryList().join(' ').toStdString();
  EXPECT_TRUE(QRegularExpression("^journal\\.damaged-\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.sqlite$")
                  .match(aside.first()).hasMatch()) << aside.first().toStdString();
  QFile kept(QDir(folder.path()).filePath(aside.first()));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), QByteArray(16384, '\x5a'));
}

// The real program journals what the strip skips, marked: a repeat, a vehicle status and an order
// that the default show-only list keeps off; and a Sprechwunsch, shown only in its indicator.
TEST(JournalFaults, EveryTelegramIsJournaledRepeatsAndFilteredOnesMarked) {
  QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath("journal.sqlite");
  FaultRun run(1, journalSettings(folder.path()));
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kConnectMs));
  const QByteArray fms = "FMSTlg\t64123456\t\t\t\t\t%1\t\t%2\t\t\t\t\t\r\n";
  ASSERT_TRUE(run.server.send("ZVEI\t12121\r\nZVEI\t12121\r\n" +
                              QByteArray(fms).replace("%1", "12").replace("%2", "0") +
                              QByteArray(fms).replace("%1", "3").replace("%2", "1") +
                              QByteArray(fms).replace("%1", "5").replace("%2", "0")));
  ASSERT_TRUE(waitFor([&] { return rows(path) == 5; }, 10000)) << rows(path);
  QStringList marks;
  for (const JournalEntry& e : JournalReader(path).page({}, 10))
    marks.prepend(QStringLiteral("%1 %2").arg(e.status).arg(journalMarkText(e.mark)));
  EXPECT_EQ(marks.join(u','), "-1 ,-1 Wiederholung,12 gefiltert,3 gefiltert,5 ");
  EXPECT_EQ(run.meldlux.log().count("message\t"), 1) << "the strip shows the first alarm only";
}

TEST(JournalFaults, TwoInstancesShareOneFile) {
  QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath("journal.sqlite");
  FaultRun a(1, journalSettings(folder.path()));
  FaultRun b(1, journalSettings(folder.path()));
  ASSERT_TRUE(a.start() && b.start());
  ASSERT_TRUE(a.connectsAndLogsIn(kConnectMs));
  ASSERT_TRUE(b.connectsAndLogsIn(kConnectMs));
  for (int block = 0; block < 20; ++block) {
    a.server.client()->write(zveiBlock(block * 50, 50));
    b.server.client()->write(zveiBlock(10000 + block * 50, 50));
    a.server.client()->flush();
    b.server.client()->flush();
  }
  ASSERT_TRUE(a.server.send(""));
  ASSERT_TRUE(b.server.send(""));
  ASSERT_TRUE(a.shows("00999 Unbekannt", 20000));
  ASSERT_TRUE(b.shows("10999 Unbekannt", 20000));
  // A busy moment may hold one back for a retry; none is lost.
  EXPECT_TRUE(waitFor([&] { return rows(path) == 2000; }, 20000)) << rows(path);
}

TEST(JournalFaults, LockedFileWaitsAndWritesLater) {
  QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath("journal.sqlite");
  FaultRun run(1, journalSettings(folder.path()));
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kConnectMs));
  ASSERT_TRUE(run.server.send("ZVEI\t00001\r\n"));
  ASSERT_TRUE(waitFor([&] { return rows(path) == 1; }, 10000));
  {
    JournalConnection other(path);
    QSqlQuery lock(other.db());
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
    for (int i = 2; i <= 6; ++i) {
      ASSERT_TRUE(run.server.send("ZVEI\t0000" + QByteArray::number(i) + "\r\n"));
      ASSERT_TRUE(run.shows(QStringLiteral("0000%1 Unbekannt").arg(i)));
    }
    ASSERT_TRUE(waitFor([&] { return run.meldlux.log().contains("journal\tfailed"); }, 10000));
    QThread::msleep(2500); // retries meet the lock again
    lock.exec("ROLLBACK");
  }
  EXPECT_TRUE(waitFor([&] { return rows(path) == 6; }, 10000)) << rows(path);
  const QString log = run.meldlux.log();
  EXPECT_EQ(countOf(log, kNotice), 1) << log.right(2000).toStdString();
  EXPECT_TRUE(log.contains("journal\trecovered"));
  EXPECT_TRUE(waitFor([&] {
    return run.meldlux.log().contains("supervision\trecovery\tfault\tJournal schreibt wieder");
  }, 5000));
}

TEST(JournalFaults, FullDiskKeepsTheLinesUntilThereIsRoom) {
  SmallDisk disk("96k");
  if (!disk.mounted())
    GTEST_SKIP() << "needs root to mount a small tmpfs";
  const QString path = QDir(disk.path()).filePath("journal.sqlite");
  FaultRun run(1, journalSettings(disk.path()));
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kConnectMs));

  // Full: blocks go on to the strip while the file cannot grow.
  int sent = 0;
  for (; sent < 40 && !run.meldlux.log().contains("journal\tfailed"); ++sent) {
    ASSERT_TRUE(run.server.send(zveiBlock(sent * 100, 100)));
    ASSERT_TRUE(run.shows(QStringLiteral("%1 Unbekannt").arg(sent * 100 + 99, 5, 10, QChar('0'))));
  }
  ASSERT_TRUE(run.meldlux.log().contains("journal\tfailed")) << "96 kB never filled";
  ASSERT_TRUE(run.server.send(zveiBlock(sent * 100, 100)));
  ASSERT_TRUE(run.shows(QStringLiteral("%1 Unbekannt").arg(sent * 100 + 99, 5, 10, QChar('0'))));
  ++sent;
  EXPECT_TRUE(run.loopTurns());
  ASSERT_TRUE(disk.remount("size=8m"));
  EXPECT_TRUE(waitFor([&] { return rows(path) == sent * 100; }, 10000)) << rows(path);

  EXPECT_EQ(countOf(run.meldlux.log(), kNotice), 1);
  EXPECT_TRUE(run.endsOnSigterm());
}

TEST(JournalFaults, ReadOnlyFolderWaitsUntilItMayBeWritten) {
  QTemporaryDir folder;
  {
    // A journal that already holds a row.
    ManualClock clock;
    EventLog log;
    JournalWriter writer(clock, log, {QDir(folder.path()).filePath("journal.sqlite")}, {});
    JournalEntry entry;
    entry.arrival = clock.now(); // recent enough for the retention
    writer.record(entry);
    ASSERT_TRUE(writer.flush()) << writer.failure().toStdString();
  }
  SmallDisk view(folder.path(), true);
  if (!view.mounted())
    GTEST_SKIP() << "needs root for a read-only bind mount";
  // Read where it may be written: a reader on the read-only view cannot open a WAL file.
  const QString path = QDir(folder.path()).filePath("journal.sqlite");
  FaultRun run(1, journalSettings(view.path()));
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(kConnectMs));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(run.server.send(zveiBlock(50000 + i * 10, 10)));
    ASSERT_TRUE(run.shows(QStringLiteral("%1 Unbekannt").arg(50000 + i * 10 + 9)));
  }
  ASSERT_TRUE(waitFor([&] { return run.meldlux.log().contains("journal\tfailed"); }, 10000));
  EXPECT_EQ(rows(path), 1);
  ASSERT_TRUE(view.remount("bind,rw"));
  EXPECT_TRUE(waitFor([&] { return rows(path) == 31; }, 10000))
      << rows(path);
  EXPECT_EQ(countOf(run.meldlux.log(), kNotice), 1);
  EXPECT_TRUE(run.endsOnSigterm());
}

} // namespace
} // namespace meldlux::faults
