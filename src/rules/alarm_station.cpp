// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/alarm_station.h"

#include "base/failure.h"
#include "rules/test_mark_sink.h"
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
      check_(parts.handlers, rules_, parts.reference, parts.statusTables, parts.clock),
      marks_(parts.marks) {
  rules_.setSpeech(&speech_, &words_);
  rules_.setSoundPlayer(&parts.sound);
}

void AlarmStation::load(const SettingsStore& store) {
  words_ = SpokenWords::load(store);
  speech_.setSettings(SpeechSettings::load(store));
  rules_.load(store);
}

void AlarmStation::save(SettingsStore& store, const QStringList& rules,
                        const SpeechSettings& speech, const SpokenWords& words) {
  AlarmRules::save(store, rules);
  speech.save(store);
  words.save(store);
  load(store);
}

QString AlarmStation::test(const AlarmRule& rule) {
  if (!rule.usable())
    return rule.fault;
  // A range is tested with its first code.
  const auto code = [&](int length) { return rule.pattern.leftJustified(length, u'0'); };
  OleDate time = 0;
  check_.setTesting(true);
  if (marks_)
    marks_->setTesting(true);
  QString fault;
  try {
    switch (rule.kind) {
    case RuleKind::Zvei: {
      QString zvei = code(5);
      check_.HandleZvei(zvei, time);
      break;
    }
    case RuleKind::Pocsag:
    case RuleKind::Text: {
      QString ric =
          rule.kind == RuleKind::Text ? QStringLiteral("9999999") : code(rule.range ? 7 : 1);
      QString text = QStringLiteral("Probealarm");
      if (rule.kind == RuleKind::Text)
        text += u' ' + rule.pattern;
      QString sub = rule.pocsagSub.isEmpty() ? QStringLiteral("A") : rule.pocsagSub;
      check_.HandlePocsag(ric, text, sub, time);
      break;
    }
    case RuleKind::Fms: {
      QString identifier = code(8);
      std::int16_t status = std::int16_t(rule.fmsStatus < 0 ? 3 : rule.fmsStatus);
      QString text;
      check_.HandleFmsVehicle(identifier, status, text, time);
      break;
    }
    }
  } catch (const Failure& failure) {
    fault = failure.description();
  }
  check_.setTesting(false);
  if (marks_)
    marks_->setTesting(false);
  return fault;
}

} // namespace meldlux
