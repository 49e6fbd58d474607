// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rules/alarm_rule.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <vector>

namespace meldlux {

class Clock;
class EventLog;
class Options;
class SettingsStore;
class SoundPlayer;
class SpeechQueue;
class SpokenWords;
class TimedSoundPlayer;

// The station's alarm rules. Every telegram received is checked against them, whatever the strip
// does with it; a rule that matches speaks its text, asks for the alarm monitor and plays its own
// sound. The same telegram again within the repeat time ("UnterdrueckenSek") does none of that
// a second time.
class AlarmRules : public QObject {
  Q_OBJECT
public:
  AlarmRules(const Options& options, const Clock& clock, EventLog& log, QObject* parent = nullptr);

  // Where the actions go; a missing one leaves its action out.
  void setSpeech(SpeechQueue* speech, const SpokenWords* words);
  void setSoundPlayer(TimedSoundPlayer* sound) { sound_ = sound; }

  // Keys Regel1 to Regel99 of the section [Alarmregeln]; a key that is missing or empty is no
  // rule. Rules that cannot be read are kept, switched off, and told of with ruleSwitchedOff.
  void load(const SettingsStore& store);
  void setRules(const QStringList& lines); // line i is rule i + 1; empty lines are no rule
  // Line i as Regel(i+1); the keys after the last line are emptied.
  static void save(SettingsStore& store, const QStringList& lines);
  const std::vector<AlarmRule>& rules() const { return rules_; }
  // Whether any rule can act at all; without one, telegrams need not be looked at.
  bool active() const { return active_; }

  void check(const RuleTelegram& telegram);

Q_SIGNALS:
  // A matching rule asks for the alarm monitor; time is the arrival (days since 30.12.1899).
  void monitorRequested(double time, const QString& code, const QString& name, const QString& text,
                        bool test);
  void ruleSwitchedOff(int number, const QString& why);

private:
  bool isRepeat(const AlarmRule& rule, const RuleTelegram& telegram);

  const Options& options_;
  const Clock& clock_;
  EventLog& log_;
  SpeechQueue* speech_ = nullptr;
  const SpokenWords* words_ = nullptr;
  TimedSoundPlayer* sound_ = nullptr;
  std::vector<AlarmRule> rules_;
  bool active_ = false;
  QHash<QString, OleDate> lastMatch_; // rule and telegram -> when it last acted
  QSet<QString> told_;                // the broken lines told of already
};

} // namespace meldlux
