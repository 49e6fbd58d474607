// SPDX-License-Identifier: GPL-3.0-or-later
#include "backoff.h"

#include <algorithm>

namespace meldlux::multimon {

namespace {

constexpr int kFirstPauseMs = 1000;
constexpr int kLongestPauseMs = 30'000;
constexpr qint64 kSteadyRunMs = 30'000;

} // namespace

int Backoff::nextMs(qint64 ranMs) {
  pauseMs_ = ranMs >= kSteadyRunMs || pauseMs_ == 0 ? kFirstPauseMs
                                                    : std::min(pauseMs_ * 2, kLongestPauseMs);
  return pauseMs_;
}

} // namespace meldlux::multimon
