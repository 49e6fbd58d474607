// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/alarm_station.h"

#include "rules/timed_sound_player.h"

namespace meldlux {

namespace {

class SilentVoice final : public Voice {
public:
  QString speak(const QString&, const SpeechSettings&, const std::atomic_bool&,
                const std::function<void()>&) override {
    return {};
  }
};

} // namespace

AlarmStation::AlarmStation(Parts parts, std::unique_ptr<Voice> voice)
    : speech_(voice ? std::move(voice) : std::make_unique<SilentVoice>(), parts.log),
      rules_(parts.options, parts.clock, parts.log),
      check_(parts.handlers, rules_, parts.reference, parts.statusTables, parts.clock) {
  rules_.setSpeech(&speech_, &words_);
  rules_.setSoundPlayer(&parts.sound);
}

void AlarmStation::load(const SettingsStore& store) {
  words_ = SpokenWords::load(store);
  speech_.setSettings(SpeechSettings::load(store));
  rules_.load(store);
}

} // namespace meldlux
