// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/alarm_rules.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "rules/timed_sound_player.h"
#include "settings/settings_store.h"
#include "speech/speech_queue.h"
#include "speech/spoken_words.h"
#include "state/options.h"

#include <algorithm>

namespace meldlux {

namespace {

constexpr int kMostRules = 99;
constexpr int kMostRemembered = 4096;

} // namespace

AlarmRules::AlarmRules(const Options& options, const Clock& clock, EventLog& log, QObject* parent)
    : QObject(parent), options_(options), clock_(clock), log_(log) {}

void AlarmRules::setSpeech(SpeechQueue* speech, const SpokenWords* words) {
  speech_ = speech;
  words_ = words;
}

void AlarmRules::load(const SettingsStore& store) {
  QStringList lines;
  for (int n = 1; n <= kMostRules; ++n)
    lines << store.read(SettingsStore::kApplication, QStringLiteral("Alarmregeln"),
                        QStringLiteral("Regel%1").arg(n), QString());
  setRules(lines);
}

void AlarmRules::save(SettingsStore& store, const QStringList& lines) {
  std::vector<SettingsStore::Entry> entries;
  for (int n = 1; n <= kMostRules; ++n) {
    const QString line = n <= lines.size() ? lines[n - 1].trimmed() : QString();
    const QString key = QStringLiteral("Regel%1").arg(n);
    const QString section = QStringLiteral("Alarmregeln");
    if (!line.isEmpty() ||
        !store.read(SettingsStore::kApplication, section, key, QString()).isEmpty())
      entries.push_back({section, key, line});
  }
  store.write(SettingsStore::kApplication, entries);
}

void AlarmRules::setRules(const QStringList& lines) {
  rules_.clear();
  lastMatch_.clear();
  QSet<QString> broken;
  for (int i = 0; i < lines.size(); ++i) {
    if (lines[i].trimmed().isEmpty())
      continue;
    rules_.push_back(AlarmRule::parse(i + 1, lines[i]));
    const AlarmRule& rule = rules_.back();
    if (!rule.usable()) {
      broken.insert(rule.source);
      if (told_.contains(rule.source))
        continue;
      log_.write(u"ruleoff", {QString::number(rule.number), rule.fault});
      Q_EMIT ruleSwitchedOff(rule.number, rule.fault);
    }
  }
  told_ = broken;
  active_ =
      std::any_of(rules_.begin(), rules_.end(), [](const AlarmRule& r) { return r.usable(); });
}

bool AlarmRules::isRepeat(const AlarmRule& rule, const RuleTelegram& t) {
  const QString key = QString::number(rule.number) + u'\t' + QString::number(int(t.kind)) + u'\t' +
                      t.code + u'\t' + t.sub + u'\t' + QString::number(t.status) + u'\t' + t.text;
  const OleDate now = clock_.now();
  const double repeatSeconds = options_.SuppressSeconds;
  const auto last = lastMatch_.constFind(key);
  if (last != lastMatch_.cend() && (now - *last) * kSecondsPerDay < repeatSeconds)
    return true;
  if (lastMatch_.size() >= kMostRemembered) {
    lastMatch_.removeIf(
        [&](const auto& entry) { return (now - entry.value()) * kSecondsPerDay >= repeatSeconds; });
    if (lastMatch_.size() >= kMostRemembered)
      lastMatch_.clear();
  }
  lastMatch_.insert(key, now);
  return false;
}

void AlarmRules::check(const RuleTelegram& telegram) {
  for (const AlarmRule& rule : rules_) {
    if (!rule.matches(telegram) || (!telegram.test && isRepeat(rule, telegram)))
      continue;
    const QString text = rule.expand(telegram);
    log_.write(u"rule", {QString::number(rule.number),
                         telegram.test ? QStringLiteral("test") : QStringLiteral("alarm"), text});
    if (!rule.sound.isEmpty() && sound_) {
      log_.write(u"sound", {rule.sound});
      sound_->play(rule.sound);
    }
    if (rule.speak && speech_)
      speech_->say(words_ ? words_->say(text) : text, sound_ ? sound_->msUntilQuiet() : 0);
    if (rule.monitor)
      Q_EMIT monitorRequested(telegram.arrival, telegram.code, telegram.name, text, telegram.test);
  }
}

} // namespace meldlux
