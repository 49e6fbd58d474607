// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace meldlux::sounds {

// Writes samples as a canonical RIFF/WAVE file: PCM, 16 bit, mono, little-endian. False when the
// file cannot be written.
bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace meldlux::sounds
