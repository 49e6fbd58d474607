// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/status_timeline.h"

namespace meldlux {

bool StatusTimeline::change(OleDate at, int status) {
  if (!segments_.empty() && segments_.back().status == status)
    return false;
  if (!segments_.empty() && at < segments_.back().from)
    at = segments_.back().from;
  if (!segments_.empty() && at == segments_.back().from)
    segments_.back().status = status; // two changes in one instant: the later one counts
  else
    segments_.push_back({at, status});
  if (segments_.size() > kMaxSegments)
    segments_.pop_front();
  return true;
}

void StatusTimeline::trim(OleDate windowStart) {
  while (segments_.size() > 1 && segments_[1].from <= windowStart)
    segments_.pop_front();
}

} // namespace meldlux
