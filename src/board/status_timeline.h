// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <deque>

namespace meldlux {

// One vehicle's statuses over time: each change starts a segment that lasts until the next one.
// Only what reaches into the last day is kept, and at most kMaxSegments of it, so a vehicle that
// sends all day long costs no more than a quiet one.
class StatusTimeline {
public:
  static constexpr std::size_t kMaxSegments = 500;

  struct Segment {
    OleDate from = 0;
    int status = -1;
  };

  // A new status at `at`. A repeat of the current status changes nothing, so "since" stays the
  // time it began; false then. A status older than the current one's start is taken as the
  // current one from then (clocks may step back), not put in front of it.
  bool change(OleDate at, int status);
  // Drops segments that ended before windowStart; the one running at windowStart stays.
  void trim(OleDate windowStart);

  bool empty() const { return segments_.empty(); }
  int status() const { return segments_.empty() ? -1 : segments_.back().status; }
  OleDate since() const { return segments_.empty() ? 0 : segments_.back().from; }
  const std::deque<Segment>& segments() const { return segments_; }

private:
  std::deque<Segment> segments_;
};

} // namespace meldlux
