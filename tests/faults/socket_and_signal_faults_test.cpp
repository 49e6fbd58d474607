// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_run.h"

// A reset seen by the real program, and a signal while start-up waits in a loader's box.
using namespace meldlux::faults;

namespace {
constexpr int kRate = 20;
} // namespace

// A reset is a socket error, not an orderly close: "ERR:" and the error's description in red,
// and the button keeps its caption.
TEST(LinkFaults, ResetReadsAsASocketError) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate);
  ASSERT_TRUE(run.start());
  ASSERT_TRUE(run.connectsAndLogsIn(4000 / kRate + 8000));
  run.server.reset();
  ASSERT_TRUE(waitFor([&] { return run.lastStatus().startsWith(u"255\t"); }, 3000));
  EXPECT_TRUE(run.lastStatus().startsWith(u"255\tERR:")) << run.lastStatus().toStdString();
  EXPECT_FALSE(run.meldlux.logged(QStringLiteral("button\tVerbinden")));
}

// SIGTERM while a loader's message box holds start-up ends the program the orderly way.
TEST(StartupFaults, SigtermInsideAStartupMessageBoxEndsTheProgram) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate);
  const QString data = run.dir.filePath(QStringLiteral("data"));
  ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);
  QFile vehicles(QDir(data).filePath(QStringLiteral("Fahrzeug.Dat")));
  ASSERT_TRUE(vehicles.resize(vehicles.size() - 1));
  ASSERT_TRUE(run.start({}, data));
  ASSERT_TRUE(waitFor([&] { return run.meldlux.log().contains(QStringLiteral("\nmessagebox\t")); },
                      5000));
  EXPECT_TRUE(run.loopTurns());
  ASSERT_TRUE(run.endsOnSigterm());
  EXPECT_TRUE(validSettingsStore(run.meldlux.settings()));
}
