// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech/voice.h"

namespace meldlux {

// The system's speech on Windows (SAPI 5, its COM `ISpVoice`), played to the system's sound output
// or the one the settings name. Each text gets a SAPI voice of its own, made and released on the
// speech thread, so that no COM object outlives that thread's apartment.
class SapiVoice final : public Voice {
public:
  QString speak(const QString& text, const SpeechSettings& settings, const std::atomic_bool& cancel,
                const std::function<void()>& firstSample) override;
};

} // namespace meldlux
