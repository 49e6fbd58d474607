// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/e2e_support.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The real programs together: the sample data set, the decoder simulator playing the sample
// scenario, and meldlux (offscreen) connecting by itself; the event log tells what it showed.
using namespace meldlux::e2e;

TEST(DemoRun, SampleTrafficShowsNamedVehiclesAlarmsAndPlaces) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString data = dir.filePath(QStringLiteral("data"));
  ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);

  quint16 port = 0;
  {
    QTcpServer probe; // a free port for the simulator
    probe.listen(QHostAddress::LocalHost, 0);
    port = probe.serverPort();
  }
  const QString scenario =
      QDir(QStringLiteral(MELDLUX_SOURCE_DIR)).filePath("tools/decoder-sim/sample.scenario");
  QProcess sim;
  sim.start(binary("meldlux-decoder-sim"),
            {QStringLiteral("--port"), QString::number(port), QStringLiteral("--password"),
             QStringLiteral("geheim"), QStringLiteral("--scenario"), scenario});
  ASSERT_TRUE(sim.waitForStarted());

  MeldluxRun meldlux(dir.path(), QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\nPW=geheim\n"
                                                "[Einstellungen]\nAutoConnect=1\nMsgLines=5\n")
                                     .arg(port));
  ASSERT_TRUE(meldlux.start({}, data));
  // The first connection check comes 4 s after start; the scenario needs about 16 s.
  waitFor([&] { return meldlux.log().contains(QStringLiteral("1234567 [A] ")); }, 40000);
  meldlux.process.kill();
  meldlux.process.waitForFinished();
  sim.terminate();
  sim.waitForFinished();

  const QString log = meldlux.log();
  EXPECT_TRUE(log.contains(QStringLiteral("message\t")) &&
              log.contains(QStringLiteral("28 Fahrzeuge (Zentrix) geladen.")))
      << log.toStdString();
  EXPECT_TRUE(log.contains(QStringLiteral("connect\t127.0.0.1\t%1").arg(port)));
  EXPECT_TRUE(log.contains(QStringLiteral("sent\tPASS:geheim\\r\\n")));
  // "Florian Musterstadt" is shortened by the sample's replacement list.
  EXPECT_TRUE(log.contains(QStringLiteral("Flo MS 1/44-1      3 ")));
  EXPECT_TRUE(log.contains(QStringLiteral("==> Musterstadt, Hauptstraße 1 <==")));
  EXPECT_TRUE(log.contains(QStringLiteral("\t255\t21001 Feuerwehr Musterstadt Vollalarm")));
  EXPECT_TRUE(log.contains(QStringLiteral("1234567 [A] ")));
  EXPECT_TRUE(log.contains(QStringLiteral("traytip\t")));
}
