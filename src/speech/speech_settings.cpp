// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/speech_settings.h"

#include "settings/settings_store.h"

#include <algorithm>

namespace meldlux {

namespace {

const QString kSection = QStringLiteral("Sprache");

int readNumber(const SettingsStore& store, const QString& key, int fallback, int low, int high) {
  bool ok = false;
  const int value =
      store.read(SettingsStore::kApplication, kSection, key, QString()).trimmed().toInt(&ok);
  return ok ? std::clamp(value, low, high) : fallback;
}

} // namespace

SpeechSettings SpeechSettings::load(const SettingsStore& store) {
  SpeechSettings s;
  const QString voice =
      store.read(SettingsStore::kApplication, kSection, QStringLiteral("Stimme"), s.voice)
          .trimmed();
  if (!voice.isEmpty())
    s.voice = voice;
  s.rate = readNumber(store, QStringLiteral("Tempo"), s.rate, 80, 300);
  s.volume = readNumber(store, QStringLiteral("Lautstaerke"), s.volume, 0, 200);
  s.repeat = readNumber(store, QStringLiteral("Wiederholen"), s.repeat, 1, 5);
  s.device = store.read(SettingsStore::kApplication, kSection, QStringLiteral("Ausgabe"), QString())
                 .trimmed();
  return s;
}

void SpeechSettings::save(SettingsStore& store) const {
  store.write(SettingsStore::kApplication,
              {{kSection, QStringLiteral("Stimme"), voice},
               {kSection, QStringLiteral("Tempo"), QString::number(rate)},
               {kSection, QStringLiteral("Lautstaerke"), QString::number(volume)},
               {kSection, QStringLiteral("Wiederholen"), QString::number(repeat)},
               {kSection, QStringLiteral("Ausgabe"), device}});
}

} // namespace meldlux
