// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rules/alarm_rules.h"
#include "rules/rule_check.h"
#include "speech/speech_queue.h"
#include "speech/spoken_words.h"

namespace meldlux {

class TimedSoundPlayer;

// The station's alarm rules with their speech, put in front of the telegram handlers.
class AlarmStation {
public:
  struct Parts {
    const Options& options;
    const Clock& clock;
    EventLog& log;
    TelegramHandlers& handlers;
    const ReferenceTables& reference;
    const StatusTables& statusTables;
    TimedSoundPlayer& sound;
  };
  // Without a voice, texts are handed over and not read.
  AlarmStation(Parts parts, std::unique_ptr<Voice> voice);

  // The rules, the speech settings and the word table from the store.
  void load(const SettingsStore& store);

  TelegramHandlers& handlers() { return check_; }
  AlarmRules& rules() { return rules_; }
  SpeechQueue& speech() { return speech_; }
  const SpokenWords& words() const { return words_; }

private:
  SpokenWords words_;
  SpeechQueue speech_;
  AlarmRules rules_;
  RuleCheck check_;
};

} // namespace meldlux
