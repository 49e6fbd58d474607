// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace meldlux::sounds {

// One step of a signal: a sine tone, or a pause when frequency is 0.
struct Tone {
  double frequency; // Hz
  double seconds;
};

// Renders tones one after the other as 16-bit mono samples. Each tone fades in and out over a few
// milliseconds, so that neither its start nor its end clicks; amplitude is a fraction of full
// scale (0 to 1).
std::vector<std::int16_t> render(const std::vector<Tone>& tones, int sampleRate, double amplitude);

} // namespace meldlux::sounds
