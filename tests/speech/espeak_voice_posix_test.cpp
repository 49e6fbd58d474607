// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/espeak_voice_posix.h"

#include <gtest/gtest.h>

using namespace meldlux;

TEST(EspeakVoice, TurnsAGermanTextIntoAudioOfAPlausibleLengthAndTellsAMissingVoice) {
  EspeakVoice voice;
  SpeechSettings settings; // "de", 150 words a minute
  qint64 samples = 0;
  const auto count = [&](const short*, int n) {
    samples += n;
    return true;
  };
  const QString text =
      QStringLiteral("Alarm für die Feuerwehr Musterstadt. Brand in der Hauptstraße "
                     "zwölf, zwei eins null null eins.");
  ASSERT_EQ(voice.synthesize(text, settings, count), QString());
  ASSERT_GT(voice.sampleRate(), 8000);
  // 17 words at 150 a minute: about seven seconds.
  const double seconds = double(samples) / voice.sampleRate();
  RecordProperty("seconds", QString::number(seconds, 'f', 2).toStdString());
  EXPECT_GT(seconds, 3.0);
  EXPECT_LT(seconds, 15.0);

  const qint64 normal = samples;
  samples = 0;
  settings.rate = 300;
  ASSERT_EQ(voice.synthesize(text, settings, count), QString());
  EXPECT_LT(samples, normal * 3 / 4); // faster is shorter

  settings.voice = QStringLiteral("xx-keine");
  EXPECT_EQ(voice.synthesize(text, settings, count), u"Stimme \"xx-keine\" nicht gefunden");
}
