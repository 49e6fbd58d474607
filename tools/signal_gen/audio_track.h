// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace meldlux::signal {

// Mono audio at 22 050 Hz built piece by piece: tones, frequency-shift keyed bits, baseband bits
// and silence, then written as signed 16-bit little-endian samples.
class AudioTrack {
public:
  static constexpr int kSampleRate = 22050;

  void silence(double seconds);
  void tone(double hz, double seconds);
  // Continuous-phase FSK: each bit at its own frequency, the phase carried over.
  void fsk(const std::vector<bool>& bits, double baud, double oneHz, double zeroHz);
  // NRZ as an FM discriminator gives it: -level for a 1, +level for a 0 (the polarity
  // multimon-ng reads without -i).
  void nrz(const std::vector<bool>& bits, double baud);

  // White Gaussian noise added over the whole track, its power snrDb below the mean power of the
  // parts that carry a signal.
  void addNoise(double snrDb, unsigned seed);

  QByteArray toS16le() const;
  qsizetype size() const { return qsizetype(samples_.size()); }

private:
  void bitsAt(const std::vector<bool>& bits, double baud, auto&& sampleFor);

  std::vector<float> samples_;
  std::vector<bool> carries_; // per sample: part of a telegram, not a gap
  double phase_ = 0;
  double bitClock_ = 0; // fraction of a sample carried from one bit run to the next
};

} // namespace meldlux::signal
