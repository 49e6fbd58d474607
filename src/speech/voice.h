// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech/speech_settings.h"

#include <QString>
#include <atomic>
#include <functional>

namespace meldlux {

// A speech engine with its sound output. Used from the speech thread only, one text at a time.
class Voice {
public:
  virtual ~Voice() = default;
  // Reads the text out and returns once it has been played, or once cancel is set. firstSample
  // is called when the first sample goes to the sound output. Gives why it could not speak
  // (no engine, no such voice, no sound output), empty when it spoke.
  virtual QString speak(const QString& text, const SpeechSettings& settings,
                        const std::atomic_bool& cancel,
                        const std::function<void()>& firstSample) = 0;
};

} // namespace meldlux
