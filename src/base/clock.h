// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <limits>

namespace meldlux {

// The one source of the current time. Rules ask it instead of the system clock, so tests can
// drive time by hand.
class Clock {
public:
  virtual ~Clock() = default;
  virtual OleDate now() const = 0;
  // Seconds since local midnight, with a fraction, as the platform's timer function gives them.
  virtual double secondsSinceMidnight() const = 0;
};

class SystemClock final : public Clock {
public:
  OleDate now() const override;
  double secondsSinceMidnight() const override;

  // The local time of a UTC instant. The offset from UTC is looked up once per second (it only
  // changes on whole seconds), since the look-up costs microseconds and the dispatch asks the
  // time for every received line; the last result is kept for the same millisecond.
  OleDate localDate(qint64 msecsSinceEpoch) const;

private:
  mutable qint64 offsetSecond_ = std::numeric_limits<qint64>::min();
  mutable qint64 offsetMs_ = 0;
  mutable qint64 lastMs_ = std::numeric_limits<qint64>::min();
  mutable OleDate lastDate_ = 0;
};

// A clock for tests: it stands still until it is set or advanced.
class ManualClock final : public Clock {
public:
  explicit ManualClock(OleDate start = 46360.5) : now_(start) {} // 04.12.2026 12:00:00
  OleDate now() const override { return now_; }
  double secondsSinceMidnight() const override;

  void set(OleDate date) { now_ = date; }
  void advance(double seconds) { now_ += seconds / kSecondsPerDay; }

private:
  OleDate now_;
};

} // namespace meldlux
