// SPDX-License-Identifier: GPL-3.0-or-later
// The one entry point of every benchmark program: a Qt application (offscreen unless a platform
// is chosen, for the widget benchmarks) around Google Benchmark's runner.
#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
