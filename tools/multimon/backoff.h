// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace meldlux::multimon {

// The pause before a program that ended is started again: 1 s, doubling to 30 s while it keeps
// ending soon after its start; a run of 30 s or more starts afresh at 1 s.
class Backoff {
public:
  int nextMs(qint64 ranMs);

private:
  int pauseMs_ = 0;
};

} // namespace meldlux::multimon
