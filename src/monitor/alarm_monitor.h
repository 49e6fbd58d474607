// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_sink.h"
#include "monitor/monitor_alarm.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace meldlux {

class Clock;
class EventLog;
class VehicleBoard;

// "Alarmmonitor": what the hall monitor shows. Idle, the date and clock, the last alarms and the
// station's vehicles; in an alarm, the alarms handed to it (newest first) with the time since
// the newest, until the idle time has passed or someone dismisses it. It hears every journal
// line, so ZVEI and POCSAG alarms the strip shows reach its list of recent alarms without a rule.
class AlarmMonitor final : public QObject, public JournalSink {
  Q_OBJECT
public:
  static constexpr int kRecent = 5;
  // Active alarms kept on screen at once; older ones are dropped from the list below the newest.
  static constexpr int kMaxActive = 20;
  static constexpr int kDefaultIdleMinutes = 30;

  AlarmMonitor(const Clock& clock, EventLog& log, const VehicleBoard& board,
               QObject* parent = nullptr);

  // An alarm for the monitor: it goes into the alarm state (or stays there), newest on top.
  void alarm(const MonitorAlarm& alarm);
  // Back to idle (a click, or the idle time); nothing when idle already.
  void dismiss();
  // ZVEI and POCSAG lines the strip shows join the recent alarms.
  void record(const JournalEntry& entry) override;

  // Minutes without a new alarm before the monitor goes idle by itself; at least 1.
  void setIdleMinutes(int minutes);
  int idleMinutes() const { return idleMinutes_; }
  // The station's vehicles by identifier or name; empty: every vehicle of the vehicle table.
  void setVehicles(const QStringList& vehicles);

  bool active() const { return !active_.isEmpty(); }
  // In an alarm: the alarms, newest first.
  const QList<MonitorAlarm>& alarms() const { return active_; }
  // The last alarms, newest first, at most kRecent.
  const QList<MonitorAlarm>& recent() const { return recent_; }
  // The board's rows the monitor shows, in the board's order.
  const QList<int>& vehicleRows() const { return vehicleRows_; }
  const VehicleBoard& board() const { return board_; }

  // "seit mm:ss" since the newest alarm; empty when idle.
  QString sinceText() const;
  // "Dienstag, 08.12.2026" and "17:30:12" of the clock's now.
  QString dateText() const;
  QString clockText() const;

  // The second timer's work: the clock and "seit" move on, the idle time is checked.
  void tick();

Q_SIGNALS:
  // Idle to alarm, or a further alarm: the alarm list changed.
  void alarmsChanged();
  void wentIdle();
  void recentChanged();
  // Once a second, for the clock and "seit".
  void secondPassed();
  // The set of shown vehicles changed (the board's rows, or the list).
  void vehicleRowsChanged();
  // A shown vehicle's status changed: its index in vehicleRows().
  void vehicleChanged(int index);

private:
  void addRecent(const MonitorAlarm& alarm, bool fromRule);
  void chooseVehicles();
  void boardRowsChanged(int first, int last);

  const Clock& clock_;
  EventLog& log_;
  const VehicleBoard& board_;
  QList<MonitorAlarm> active_;
  QList<MonitorAlarm> recent_;
  QStringList wanted_;
  QList<int> vehicleRows_;
  int idleMinutes_ = kDefaultIdleMinutes;
  OleDate idleAt_ = 0;
  QTimer second_;
};

} // namespace meldlux
