// SPDX-License-Identifier: GPL-3.0-or-later
#include "faults/fault_run.h"
#include "journal/journal_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

// The board after a kill: what it showed before is what it shows after the restart.
namespace meldlux::faults {
namespace {

QByteArray status(const char* identifier, int status) {
  return QByteArray("FMSTlg\t") + identifier + "\t\t\t\t\t" + QByteArray::number(status) +
         "\t\t0\r\n";
}

TEST(BoardFaults, SigkillThenRestartShowsEveryVehiclesLastStatus) {
  QTemporaryDir folder;
  const QString settings = QStringLiteral("[Journal]\nFolder=%1\n").arg(folder.path());
  const QString path = QDir(folder.path()).filePath("journal.sqlite");
  FaultRun first(1, settings);
  ASSERT_TRUE(first.start());
  ASSERT_TRUE(first.connectsAndLogsIn(15000));
  // Each status a block of its own, so each is committed before the next.
  int expected = 0;
  for (const auto& [id, s] : {std::pair{"61234501", 2}, {"61234502", 1}, {"61234501", 3},
                              {"61234501", 4}, {"61234502", 6}}) {
    ASSERT_TRUE(first.server.send(status(id, s)));
    ++expected;
    ASSERT_TRUE(waitFor([&] { return JournalReader(path).count({}) == expected; }, 10000));
  }
  ::kill(pid_t(first.meldlux.process.processId()), SIGKILL);
  ASSERT_TRUE(first.meldlux.process.waitForFinished(5000));

  FaultRun second(1, settings);
  ASSERT_TRUE(second.start());
  ASSERT_TRUE(waitFor([&] { return second.meldlux.log().contains("board\trestored\t"); }, 10000))
      << second.meldlux.log().toStdString();
  const QString log = second.meldlux.log();
  EXPECT_TRUE(log.contains("\nboard\t61234501\t4\t")) << log.toStdString();
  EXPECT_TRUE(log.contains("\nboard\t61234502\t6\t")) << log.toStdString();
  EXPECT_TRUE(log.contains("\nboard\trestored\t2\n")) << log.toStdString();
  EXPECT_TRUE(second.endsOnSigterm());
}

} // namespace
} // namespace meldlux::faults
