// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "rules/alarm_rules_window.h"
#include "support/event_log_file.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

TEST(AlarmRulesWindow, ShowsWhyARuleIsOffAndTestsARuleTheWayOfARealAlarm) {
  EventLogFile log;
  Application app(std::make_unique<ManualClock>(), std::make_unique<EventLog>(log.path()));
  app.options().setChecked(Check::chkMsgAktiv, true);
  app.options().setChecked(Check::chkUnbekFME, true);
  app.options().setChecked(Check::chkUnbekFMS, true);
  app.options().setText(Text::txtMsgOnly, QStringLiteral("003"));
  QTemporaryDir dir;
  SettingsStore store(dir.path());
  for (const auto& [key, rule] :
       {std::pair{"Regel1", "POCSAG:1234567B|monitor|Probe {code} {status}"},
        std::pair{"Regel2", "FMS:6412*|monitor|Fahrzeug {name}"},
        std::pair{"Regel4", "ZVEI:123|sprechen|"}})
    store.write(SettingsStore::kApplication, QStringLiteral("Alarmregeln"),
                QString::fromLatin1(key), QString::fromLatin1(rule));
  app.alarmStation().load(store);
  QStringList monitored;
  QObject::connect(&app.alarmStation().rules(), &AlarmRules::monitorRequested,
                   [&](double, const QString&, const QString&, const QString& text, bool test) {
                     monitored << text + (test ? QStringLiteral(" (Test)") : QString());
                   });

  AlarmRulesWindow window(app.alarmStation(), store);
  window.showInFront();
  auto* list = window.findChild<QListWidget*>(QStringLiteral("lstRegeln"));
  auto* note = window.findChild<QLabel*>(QStringLiteral("lblHinweis"));
  ASSERT_EQ(list->count(), 3);
  list->setCurrentRow(2);
  EXPECT_EQ(note->text(), u"Diese Regel ist ausgeschaltet: ein ZVEI-Code hat 5 Ziffern");
  if (const QString shots = qEnvironmentVariable("MELDLUX_SCREENSHOT_DIR"); !shots.isEmpty())
    window.grab().save(shots + QStringLiteral("/alarmregeln.png"));

  list->setCurrentRow(0);
  window.findChild<QPushButton*>(QStringLiteral("cmdTesten"))->click();
  list->setCurrentRow(1);
  window.findChild<QPushButton*>(QStringLiteral("cmdTesten"))->click();
  EXPECT_EQ(
      monitored,
      (QStringList{QStringLiteral("Probe 1234567 B (Test)"),
                   QStringLiteral("Fahrzeug 12 00/00 (Test)")})); // no organisation codes loaded
  // The hall monitor shows them, as tests.
  EXPECT_EQ(log.lines(QStringLiteral("monitor")),
            (QStringList{QStringLiteral("monitor\talarm\tProbe 1234567 B"),
                         QStringLiteral("monitor\talarm\tFahrzeug 12 00/00")}));
  // The test alarms went the way of real ones, onto the strip; the broken rule was told once,
  // not again on each save.
  const QStringList lines = log.lines(QStringLiteral("message"));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].endsWith(u"Alarmregel 4 ausgeschaltet: ein ZVEI-Code hat 5 Ziffern"));
  EXPECT_TRUE(lines[1].endsWith(u"1234567 [B] Unbekannt Probealarm"));
  EXPECT_TRUE(lines[2].contains(u"(64120000)"));
  // A made-up vehicle status stays off the board; a real one goes on it.
  EXPECT_EQ(app.vehicleBoard().rowCount(), 0);
  QString id = QStringLiteral("64120000"), text;
  std::int16_t status = 3;
  OleDate time = 0;
  app.alarmStation().handlers().HandleFmsVehicle(id, status, text, time);
  EXPECT_EQ(app.vehicleBoard().rowCount(), 1);
  // That real status 3 repeated the test's line, so the strip skipped it; a status 4 the
  // show-only list keeps off. Neither adds a line, and both reach the rules.
  status = 4;
  app.alarmStation().handlers().HandleFmsVehicle(id, status, text, time);
  EXPECT_EQ(log.lines(QStringLiteral("message")).size(), 3);
  EXPECT_EQ(monitored.size(), 4);
  // Saved as shown, numbered afresh: Regel4 is Regel3 now, and Regel4 is gone.
  EXPECT_EQ(store.read(SettingsStore::kApplication, QStringLiteral("Alarmregeln"),
                       QStringLiteral("Regel3"), {}),
            u"ZVEI:123|sprechen|");
  EXPECT_EQ(store.read(SettingsStore::kApplication, QStringLiteral("Alarmregeln"),
                       QStringLiteral("Regel4"), {}),
            QString());
}
