// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rules/alarm_rules.h"
#include "rules/rule_check.h"
#include "speech/speech_queue.h"
#include "speech/spoken_words.h"

namespace meldlux {

class TestMarkSink;
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
    TestMarkSink* marks = nullptr; // the handlers' journal sink, for tests of a rule
  };
  // Without a voice, texts are handed over and not read.
  AlarmStation(Parts parts, std::unique_ptr<Voice> voice);

  // The rules, the speech settings and the word table from the store.
  void load(const SettingsStore& store);
  // Stores them (rule i as Regel(i+1)) and reads them back, as at start.
  void save(SettingsStore& store, const QStringList& rules, const SpeechSettings& speech,
            const SpokenWords& words);

  // "Testen": a telegram the rule matches goes the way of a real one, through the handlers and
  // the rules, marked as a test in the journal and on the monitor. Gives why it cannot, or empty.
  QString test(const AlarmRule& rule);

  TelegramHandlers& handlers() { return check_; }
  AlarmRules& rules() { return rules_; }
  SpeechQueue& speech() { return speech_; }
  const SpokenWords& words() const { return words_; }

private:
  SpokenWords words_;
  SpeechQueue speech_;
  AlarmRules rules_;
  RuleCheck check_;
  TestMarkSink* marks_;
};

} // namespace meldlux
