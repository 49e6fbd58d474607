// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_track.h"

#include <QtEndian>
#include <cmath>
#include <numbers>
#include <random>

namespace meldlux::signal {

namespace {

constexpr float kLevel = 0.5f; // of full scale, room left for the noise

} // namespace

void AudioTrack::silence(double seconds) {
  const auto n = std::size_t(std::lround(seconds * kSampleRate));
  samples_.insert(samples_.end(), n, 0.0f);
  carries_.insert(carries_.end(), n, false);
  phase_ = 0;
}

void AudioTrack::tone(double hz, double seconds) {
  const auto n = std::size_t(std::lround(seconds * kSampleRate));
  const double step = 2 * std::numbers::pi * hz / kSampleRate;
  for (std::size_t i = 0; i < n; ++i) {
    samples_.push_back(kLevel * float(std::sin(phase_)));
    carries_.push_back(true);
    phase_ = std::fmod(phase_ + step, 2 * std::numbers::pi);
  }
}

void AudioTrack::bitsAt(const std::vector<bool>& bits, double baud, auto&& sampleFor) {
  const double samplesPerBit = kSampleRate / baud;
  double end = bitClock_;
  for (const bool bit : bits) {
    end += samplesPerBit;
    while (end >= 1.0) {
      samples_.push_back(sampleFor(bit));
      carries_.push_back(true);
      end -= 1.0;
    }
  }
  bitClock_ = end;
}

void AudioTrack::fsk(const std::vector<bool>& bits, double baud, double oneHz, double zeroHz) {
  bitsAt(bits, baud, [&](bool bit) {
    const float s = kLevel * float(std::sin(phase_));
    phase_ = std::fmod(phase_ + 2 * std::numbers::pi * (bit ? oneHz : zeroHz) / kSampleRate,
                       2 * std::numbers::pi);
    return s;
  });
}

void AudioTrack::nrz(const std::vector<bool>& bits, double baud) {
  bitsAt(bits, baud, [](bool bit) { return bit ? -kLevel : kLevel; });
}

void AudioTrack::addNoise(double snrDb, unsigned seed) {
  double power = 0;
  std::size_t carrying = 0;
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    if (carries_[i]) {
      power += double(samples_[i]) * samples_[i];
      ++carrying;
    }
  }
  if (carrying == 0)
    return;
  const double sigma = std::sqrt(power / double(carrying) / std::pow(10.0, snrDb / 10));
  std::mt19937 random(seed);
  std::normal_distribution<float> noise(0.0f, float(sigma));
  for (float& s : samples_)
    s += noise(random);
}

QByteArray AudioTrack::toS16le() const {
  QByteArray bytes(qsizetype(samples_.size() * 2), Qt::Uninitialized);
  char* out = bytes.data();
  for (const float s : samples_) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    qToLittleEndian(qint16(v), out);
    out += 2;
  }
  return bytes;
}

} // namespace meldlux::signal
