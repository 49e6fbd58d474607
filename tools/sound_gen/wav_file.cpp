// SPDX-License-Identifier: GPL-3.0-or-later
#include "wav_file.h"

#include <fstream>

namespace meldlux::sounds {

namespace {

void put16(std::ofstream& out, std::uint16_t value) {
  const char bytes[2] = {static_cast<char>(value & 0xff), static_cast<char>(value >> 8)};
  out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t value) {
  put16(out, static_cast<std::uint16_t>(value & 0xffff));
  put16(out, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out)
    return false;
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  put32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  put32(out, 16);                                   // size of the format chunk
  put16(out, 1);                                    // PCM
  put16(out, 1);                                    // mono
  put32(out, static_cast<std::uint32_t>(sampleRate));
  put32(out, static_cast<std::uint32_t>(sampleRate) * 2); // bytes per second
  put16(out, 2);                                    // bytes per frame
  put16(out, 16);                                   // bits per sample
  out.write("data", 4);
  put32(out, dataBytes);
  for (const std::int16_t sample : samples)
    put16(out, static_cast<std::uint16_t>(sample));
  return static_cast<bool>(out.flush());
}

} // namespace meldlux::sounds
