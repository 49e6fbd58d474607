// SPDX-License-Identifier: GPL-3.0-or-later
#include "tone_sequence.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace meldlux::sounds {

std::vector<std::int16_t> render(const std::vector<Tone>& tones, int sampleRate, double amplitude) {
  std::vector<std::int16_t> samples;
  const double peak = std::clamp(amplitude, 0.0, 1.0) * 32767.0;
  const int fade = sampleRate / 200; // 5 ms
  for (const Tone& tone : tones) {
    const int count = static_cast<int>(std::lround(tone.seconds * sampleRate));
    for (int i = 0; i < count; ++i) {
      if (tone.frequency <= 0) {
        samples.push_back(0);
        continue;
      }
      const double edge = std::min({1.0, static_cast<double>(i) / fade,
                                    static_cast<double>(count - 1 - i) / fade});
      const double phase = 2 * std::numbers::pi * tone.frequency * i / sampleRate;
      samples.push_back(static_cast<std::int16_t>(std::lround(peak * edge * std::sin(phase))));
    }
  }
  return samples;
}

} // namespace meldlux::sounds
