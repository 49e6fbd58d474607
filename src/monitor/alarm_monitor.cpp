// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/alarm_monitor.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "base/formats.h"
#include "board/vehicle_board.h"
#include "journal/journal_entry.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace meldlux {

namespace {

// A rule's alarm and the strip's line of the same telegram arrive one after the other; within
// this many seconds and with the same code they are one alarm in the recent list.
constexpr double kSameAlarmSeconds = 5;

bool sameAlarm(const MonitorAlarm& a, const MonitorAlarm& b) {
  return a.code == b.code && std::abs(a.time - b.time) * kSecondsPerDay < kSameAlarmSeconds;
}

} // namespace

AlarmMonitor::AlarmMonitor(const Clock& clock, EventLog& log, const VehicleBoard& board,
                           QObject* parent)
    : QObject(parent), clock_(clock), log_(log), board_(board) {
  second_.setSingleShot(true);
  second_.setTimerType(Qt::PreciseTimer); // the clock should turn on the second, not beside it
  connect(&second_, &QTimer::timeout, this, &AlarmMonitor::tick);
  connect(&board_, &QAbstractItemModel::modelReset, this, &AlarmMonitor::chooseVehicles);
  connect(&board_, &QAbstractItemModel::rowsInserted, this, &AlarmMonitor::chooseVehicles);
  connect(&board_, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& first, const QModelIndex& last) {
            boardRowsChanged(first.row(), last.row());
          });
  chooseVehicles();
  tick();
}

void AlarmMonitor::alarm(const MonitorAlarm& given) {
  MonitorAlarm alarm = given;
  if (alarm.time == 0)
    alarm.time = clock_.now(); // no time given: it counts from its arrival here
  active_.prepend(alarm);
  if (active_.size() > kMaxActive)
    active_.resize(kMaxActive);
  idleAt_ = clock_.now() + idleMinutes_ * 60 / kSecondsPerDay;
  addRecent(alarm, true);
  log_.write(u"monitor", {QStringLiteral("alarm"), alarm.text});
  Q_EMIT alarmsChanged();
}

void AlarmMonitor::dismiss() {
  if (active_.isEmpty())
    return;
  active_.clear();
  idleAt_ = 0;
  log_.write(u"monitor", {QStringLiteral("idle")});
  Q_EMIT wentIdle();
}

void AlarmMonitor::record(const JournalEntry& entry) {
  if ((entry.kind != JournalKind::Zvei && entry.kind != JournalKind::Pocsag) ||
      entry.mark != JournalMark::None)
    return; // a repeat the strip skipped, or a telegram it keeps off, is no new alarm
  addRecent({entry.arrival, entry.identifier, entry.name, entry.message, false}, false);
}

void AlarmMonitor::addRecent(const MonitorAlarm& alarm, bool fromRule) {
  const auto same = std::find_if(recent_.begin(), recent_.end(),
                                 [&](const MonitorAlarm& a) { return sameAlarm(a, alarm); });
  if (same != recent_.end()) {
    // The rule's alarm carries its own text and the test mark; the strip's line adds nothing.
    if (!fromRule)
      return;
    recent_.erase(same);
  }
  recent_.prepend(alarm);
  if (recent_.size() > kRecent)
    recent_.resize(kRecent);
  Q_EMIT recentChanged();
}

void AlarmMonitor::setIdleMinutes(int minutes) { idleMinutes_ = std::max(1, minutes); }

void AlarmMonitor::setVehicles(const QStringList& vehicles) {
  wanted_.clear();
  for (const QString& v : vehicles)
    if (!v.trimmed().isEmpty())
      wanted_ << v.trimmed();
  chooseVehicles();
}

void AlarmMonitor::chooseVehicles() {
  QList<int> rows;
  for (int row = 0; row < board_.rowCount(); ++row) {
    const BoardRow& r = board_.rowAt(row);
    const bool wanted = wanted_.isEmpty() ? r.known
                                          : wanted_.contains(r.identifier.trimmed()) ||
                                                wanted_.contains(r.name, Qt::CaseInsensitive);
    if (wanted)
      rows << row;
  }
  if (rows == vehicleRows_)
    return;
  vehicleRows_ = rows;
  Q_EMIT vehicleRowsChanged();
}

void AlarmMonitor::boardRowsChanged(int first, int last) {
  for (int i = 0; i < vehicleRows_.size(); ++i)
    if (vehicleRows_[i] >= first && vehicleRows_[i] <= last)
      Q_EMIT vehicleChanged(i);
}

QString AlarmMonitor::sinceText() const {
  if (active_.isEmpty())
    return {};
  const qint64 seconds = std::max<qint64>(
      0, qint64(std::floor((clock_.now() - active_.front().time) * kSecondsPerDay + 1e-6)));
  return QStringLiteral("seit %1:%2")
      .arg(formatTwoDigits(seconds / 60), formatTwoDigits(seconds % 60));
}

QString AlarmMonitor::dateText() const {
  return QLocale(QLocale::German, QLocale::Germany)
      .toString(fromOleDate(clock_.now()).date(), QStringLiteral("dddd, d. MMMM yyyy"));
}

QString AlarmMonitor::clockText() const { return formatTime(clock_.now()); }

void AlarmMonitor::tick() {
  if (!active_.isEmpty() && clock_.now() >= idleAt_)
    dismiss();
  Q_EMIT secondPassed();
  // The next full second of the clock, a little after it so that the text has changed.
  const double fraction = clock_.secondsSinceMidnight() - std::floor(clock_.secondsSinceMidnight());
  second_.start(int((1.0 - fraction) * 1000) + 5);
}

} // namespace meldlux
