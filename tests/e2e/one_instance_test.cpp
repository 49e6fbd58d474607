// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/x_desktop.h"

#include <QTemporaryDir>

using namespace meldlux::e2e;

namespace {
bool startedTimes(const MeldluxRun& run, int times) {
  return waitFor([&] { return run.logged(QStringLiteral("tray\tmodify\tFMS Meldlux"), times); },
                 15000);
}
} // namespace

// A second start on the same settings shows the running one's window and ends at once; one with
// settings of its own runs beside it; a killed one's lock stops no start.
TEST(OneInstance, ASecondStartShowsTheRunningOneAndEnds) {
  if (const QString tool = XDesktop::missing({"Xvfb", "xdotool"}); !tool.isEmpty())
    GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/setup.sh installs it)";
  XDesktop desktop;
  ASSERT_TRUE(desktop.start());
  QTemporaryDir dir, other;
  MeldluxRun first(dir.path(), QStringLiteral("[Einstellungen]\nFormVisible=0\n"));
  ASSERT_TRUE(first.start({}, {}, desktop.environment()));
  ASSERT_TRUE(startedTimes(first, 1)) << first.log().toStdString();
  EXPECT_FALSE(desktop.mainWindowVisible());

  QProcess second;
  second.setProcessEnvironment(first.process.processEnvironment());
  second.start(binary("meldlux"));
  ASSERT_TRUE(second.waitForFinished(15000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(second.readAllStandardError()), u"Meldlux läuft bereits\n");
  EXPECT_TRUE(waitFor([&] { return desktop.mainWindowVisible(); }, 5000));
  EXPECT_EQ(first.log().count(QStringLiteral("tray\tadd\t")), 1);

  MeldluxRun beside(other.path(), {});
  ASSERT_TRUE(beside.start({}, {}, desktop.environment()));
  EXPECT_TRUE(startedTimes(beside, 1)) << beside.log().toStdString();

  first.process.kill();
  first.process.waitForFinished();
  ASSERT_TRUE(first.start({}, {}, desktop.environment()));
  EXPECT_TRUE(startedTimes(first, 2)) << first.log().toStdString();
  for (QProcess* p : {&first.process, &beside.process}) {
    p->terminate();
    EXPECT_TRUE(p->waitForFinished(10000));
  }
}
