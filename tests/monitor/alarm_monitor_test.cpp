// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/handler_rig.h"

#include "board/vehicle_board.h"
#include "journal/journal_entry.h"
#include "monitor/alarm_monitor.h"

#include "support/signal_recorder.h"

namespace meldlux {
namespace {

// The rig's three table vehicles on a board, and the monitor hearing the handlers' lines.
class Monitor : public HandlerRig {
protected:
  Monitor() {
    board.loadVehicles();
    journal.setTarget(&monitor);
  }
  MonitorAlarm alarmNow(const QString& code, const QString& text) const {
    return {clock.now(), code, u"FF Musterstadt"_qs, text, false};
  }
  JournalEntry line(JournalKind kind, const QString& code, JournalMark mark = JournalMark::None,
                    int status = -1) const {
    JournalEntry e;
    e.kind = kind;
    e.identifier = code;
    e.status = status;
    e.arrival = clock.now();
    e.mark = mark;
    return e;
  }
  QStringList recentCodes() const {
    QStringList out;
    for (const MonitorAlarm& a : monitor.recent())
      out << a.code + (a.text.isEmpty() ? QString() : u':' + a.text);
    return out;
  }

  VehicleBoard board{clock, tables, reference.vehicles, log};
  AlarmMonitor monitor{clock, log, board};
};

TEST_F(Monitor, AlarmsStackNewestFirstAndGoIdleAfterTheIdleTimeOfTheNewestOrAClick) {
  SignalCounter idle(&monitor, &AlarmMonitor::wentIdle);
  EXPECT_FALSE(monitor.active());
  EXPECT_EQ(monitor.dateText(), u"Freitag, 4. Dezember 2026"_qs);
  EXPECT_EQ(monitor.clockText(), u"12:00:00"_qs);

  monitor.alarm(alarmNow(u"21001"_qs, u"Erstalarm"_qs));
  clock.advance(65);
  monitor.alarm(alarmNow(u"21002"_qs, u"Nachalarm"_qs));
  ASSERT_EQ(monitor.alarms().size(), 2);
  EXPECT_EQ(monitor.alarms()[0].code, u"21002"_qs);
  EXPECT_EQ(monitor.sinceText(), u"seit 00:00"_qs);
  clock.advance(125.5);
  EXPECT_EQ(monitor.sinceText(), u"seit 02:05"_qs);

  // Thirty minutes count from the newest alarm, not the first.
  clock.advance(30 * 60 - 125.5 - 1);
  monitor.tick();
  EXPECT_TRUE(monitor.active());
  EXPECT_EQ(monitor.sinceText(), u"seit 29:59"_qs);
  clock.advance(1);
  monitor.tick();
  EXPECT_FALSE(monitor.active());
  EXPECT_EQ(monitor.sinceText(), QString());

  monitor.setIdleMinutes(0); // at least a minute
  monitor.alarm(alarmNow(u"21001"_qs, u"Dritter"_qs));
  clock.advance(30);
  monitor.tick();
  EXPECT_TRUE(monitor.active());
  monitor.dismiss(); // the click
  monitor.dismiss();
  EXPECT_EQ(idle.count, 2);
  EXPECT_EQ(logFile.lines(u"monitor"_qs),
            (QStringList{u"monitor\talarm\tErstalarm"_qs, u"monitor\talarm\tNachalarm"_qs,
                         u"monitor\tidle"_qs, u"monitor\talarm\tDritter"_qs, u"monitor\tidle"_qs}));
}

TEST_F(Monitor, RecentHoldsFiveAlarmsNewestFirstAndATelegramOnce) {
  receive(zvei(u"21001"_qs)); // through the handlers, as the strip shows it
  for (const char* code : {"21002", "21003", "21004", "21005"})
    monitor.record(line(JournalKind::Pocsag, QString::fromLatin1(code)));
  monitor.record(line(JournalKind::Zvei, u"21002"_qs, JournalMark::Repeat));
  monitor.record(line(JournalKind::Zvei, u"21009"_qs, JournalMark::Filtered));
  monitor.record(line(JournalKind::FmsVehicle, u"64123456"_qs));
  EXPECT_EQ(recentCodes(),
            (QStringList{u"21005"_qs, u"21004"_qs, u"21003"_qs, u"21002"_qs, u"21001"_qs}));

  // A rule's alarm and the strip's line of one telegram are one entry, the rule's, either way.
  clock.advance(60);
  monitor.record(line(JournalKind::Zvei, u"21006"_qs));
  clock.advance(2);
  monitor.alarm(alarmNow(u"21006"_qs, u"Brand"_qs));
  monitor.record(line(JournalKind::Zvei, u"21006"_qs));
  clock.advance(10);
  monitor.record(line(JournalKind::Zvei, u"21006"_qs)); // later: an alarm of its own
  EXPECT_EQ(recentCodes(),
            (QStringList{u"21006"_qs, u"21006:Brand"_qs, u"21005"_qs, u"21004"_qs, u"21003"_qs}));
}

TEST_F(Monitor, ShowsTheListedVehiclesOrEveryKnownOneAndTellsTheirChanges) {
  SignalRecorder<int> changed(&monitor, &AlarmMonitor::vehicleChanged);
  EXPECT_EQ(monitor.vehicleRows(), (QList<int>{0, 1, 2}));
  board.record(line(JournalKind::FmsVehicle, u"61234599"_qs, JournalMark::None,
                    2)); // unknown: on the board, not on the monitor
  EXPECT_EQ(monitor.vehicleRows(), (QList<int>{0, 1, 2}));

  // By identifier or by name, case-blind; a name nobody has shows nothing.
  monitor.setVehicles({u" 63123456 "_qs, u"florian musterstadt 1/44-1"_qs, u"Gibt es nicht"_qs});
  EXPECT_EQ(monitor.vehicleRows(), (QList<int>{0, 1}));
  board.record(line(JournalKind::FmsVehicle, u"63123456"_qs, JournalMark::None, 3));
  board.record(line(JournalKind::FmsVehicle, u"X1234567"_qs, JournalMark::None, 3));
  EXPECT_EQ(changed.values, std::vector<int>{1});
}

} // namespace
} // namespace meldlux
