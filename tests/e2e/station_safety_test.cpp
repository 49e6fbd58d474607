// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_reader.h"
#include "support/x_desktop.h"

#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

// What keeps a station from going deaf by accident, on a real X server: one program per
// settings store, settings that survive a power cut, a start-up that waits for no click.
using namespace meldlux;
using namespace meldlux::e2e;

namespace {

class StationSafety : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool"})
      if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
        GTEST_SKIP() << tool << " is not installed (scripts/setup.sh installs it)";
    ASSERT_TRUE(desktop.start());
  }
  bool started(const MeldluxRun& run, int times = 1) {
    return waitFor([&] { return run.logged(QStringLiteral("popup\tshown"), times); }, 15000);
  }
  XDesktop desktop;
  QTemporaryDir dir;
};

// A second start on the same settings shows the running one's window and ends at once; one with
// settings of its own runs beside it; a killed one's lock stops no start.
TEST_F(StationSafety, ASecondStartShowsTheRunningOneAndEnds) {
  MeldluxRun first(dir.path(), QStringLiteral("[Einstellungen]\nFormVisible=0\n"));
  ASSERT_TRUE(first.start({}, {}, desktop.environment()) && started(first));
  EXPECT_FALSE(desktop.mainWindowVisible());
  QProcess second;
  second.setProcessEnvironment(first.process.processEnvironment());
  second.start(binary("meldlux"));
  ASSERT_TRUE(second.waitForFinished(15000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(second.readAllStandardError()), u"Meldlux läuft bereits\n");
  EXPECT_TRUE(waitFor([&] { return desktop.mainWindowVisible(); }, 5000));
  EXPECT_EQ(first.log().count(QStringLiteral("tray\tadd\t")), 1);

  QTemporaryDir other;
  MeldluxRun beside(other.path(), {});
  EXPECT_TRUE(beside.start({}, {}, desktop.environment()) && started(beside));
  first.process.kill();
  ASSERT_TRUE(first.process.waitForFinished(10000));
  EXPECT_TRUE(first.start({}, {}, desktop.environment()) && started(first, 2));
}

// A change typed into the options window is in the settings file within seconds, so a kill (a
// power cut) keeps it; the next start reads it, and its save at exit writes the same bytes.
TEST_F(StationSafety, ATypedChangeSurvivesAKill) {
  MeldluxRun meldlux(dir.path(), QStringLiteral("[Server]\nAdresse=10.0.0.1\n"));
  ASSERT_TRUE(meldlux.start({}, {}, desktop.environment()) && started(meldlux));
  // The popup is shown before the main window: type only once that is mapped and has the keyboard.
  // The address field has the focus in a new window, its cursor at the end.
  const QString window = desktop.mainWindow(15000);
  ASSERT_FALSE(window.isEmpty()) << meldlux.log().toStdString();
  ASSERT_TRUE(desktop.focus(window));
  desktop.xdotool({"type", "9"});
  EXPECT_TRUE(waitFor([&] { return meldlux.settings().contains(u"\nAdresse=10.0.0.19\n"); }, 15000))
      << meldlux.settings().toStdString();
  meldlux.process.kill();
  ASSERT_TRUE(meldlux.process.waitForFinished(10000));
  const QString killed = meldlux.settings();
  ASSERT_TRUE(meldlux.start({}, {}, desktop.environment()) && started(meldlux, 2));
  meldlux.process.terminate();
  ASSERT_TRUE(meldlux.process.waitForFinished(10000));
  EXPECT_EQ(meldlux.settings(), killed);
}

// A vehicle file of the wrong length raises its loader's box; nobody clicks it. It closes by
// itself (here after 1 s), start-up goes on and the program connects; the journal keeps the
// fault with the file and why, and the strip and the tray's tip show it.
TEST_F(StationSafety, ALoadersBoxLeftAloneClosesAndTheFaultIsJournaled) {
  QFile vehicles(dir.filePath(QStringLiteral("Fahrzeug.Dat")));
  ASSERT_TRUE(vehicles.open(QIODevice::WriteOnly) && vehicles.write(QByteArray(14400, ' ')));
  vehicles.close();
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  MeldluxRun meldlux(dir.path(), autoConnectSettings(server.serverPort()));
  QProcessEnvironment env = desktop.environment();
  env.insert(QStringLiteral("MELDLUX_MESSAGE_BOX_TIMEOUT_MS"), QStringLiteral("1000"));
  ASSERT_TRUE(meldlux.start({}, {}, env));
  ASSERT_TRUE(server.waitForNewConnection(30000)) << meldlux.log().toStdString();
  EXPECT_TRUE(meldlux.logged("messagebox\tFahrzeuge Laden\tKeine gültige Fahrzeug DAT-Datei!"));
  EXPECT_TRUE(started(meldlux));
  JournalFilter loadFaults;
  loadFaults.kinds = {kJournalLoadFault};
  const auto faults = JournalReader(meldlux.journalPath()).page(loadFaults, 10);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].identifier, vehicles.fileName());
  EXPECT_TRUE(faults[0].message.startsWith("Länge 14400 Bytes ist kein Vielfaches von 515"));
  // The strip and the tray's tip say so too, the status label stays the link's.
  const QString shown = QStringLiteral("Stammdaten nicht geladen: ") + vehicles.fileName();
  EXPECT_TRUE(meldlux.log().contains(QStringLiteral("supervision\twarning\tfault\t") + shown))
      << meldlux.log().toStdString();
  EXPECT_TRUE(meldlux.log().contains(QStringLiteral("\ntray\tmodify\tStammdaten nicht geladen: ")));
}

// --monitor puts the hall monitor over the whole screen beside the strip; a screen that is not
// there gives the primary one and one note on the strip.
TEST_F(StationSafety, TheHallMonitorFillsTheScreenBesideTheStrip) {
  MeldluxRun run(dir.path(), QStringLiteral("[Alarmmonitor]\nBildschirm=HDMI-9\n"));
  ASSERT_TRUE(run.start({QStringLiteral("--monitor")}, {}, desktop.environment()) && started(run));
  ASSERT_TRUE(waitFor([&] { return desktop.visible(QStringLiteral("^Alarmmonitor$")); }, 10000));
  const QString window = desktop.xdotool(
      {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
       QStringLiteral("^Alarmmonitor$"), QStringLiteral("getwindowgeometry")});
  EXPECT_TRUE(window.contains(QStringLiteral("Geometry: %1x768").arg(kScreenWidth)))
      << window.toStdString();
  const QString note = QStringLiteral("Bildschirm „HDMI-9“ nicht gefunden");
  EXPECT_EQ(run.log().count(QStringLiteral("monitor\tscreen\tAlarmmonitor: ") + note), 1);
  EXPECT_EQ(run.log().count(QStringLiteral("\tAlarmmonitor: ") + note), 2); // and on the strip
  run.process.terminate();
  ASSERT_TRUE(run.process.waitForFinished(10000));
  EXPECT_TRUE(run.logged(QStringLiteral("saved")));
}

} // namespace
