// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech/voice.h"

namespace meldlux {

// espeak-ng with its German voice from espeak-ng-data; the samples go to the system's sound
// output through pcaudiolib (PulseAudio, else ALSA), as espeak-ng's own program does. The engine
// is one per process: only one EspeakVoice may exist, used from one thread.
class EspeakVoice final : public Voice {
public:
  EspeakVoice();
  ~EspeakVoice() override;

  QString speak(const QString& text, const SpeechSettings& settings, const std::atomic_bool& cancel,
                const std::function<void()>& firstSample) override;

  // The samples of a text without playing them (16-bit mono), block by block as the engine gives
  // them; sink returns false to stop. Gives why it could not, empty on success.
  using Sink = std::function<bool(const short* samples, int count)>;
  QString synthesize(const QString& text, const SpeechSettings& settings, const Sink& sink);
  int sampleRate() const { return sampleRate_; }

private:
  QString start(const SpeechSettings& settings);

  QString initFault_;
  bool initialised_ = false;
  int sampleRate_ = 0;
};

} // namespace meldlux
