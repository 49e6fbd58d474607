// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi_voice_windows.h"

#include <QElapsedTimer>
#include <cstdio>
#include <gtest/gtest.h>
#include <thread>

using namespace meldlux;

namespace {

struct Spoken {
  QString fault;
  int firstSamples = 0;
  qint64 ms = 0;
};

// On a thread of its own, as on the speech thread, which has no COM of its own yet.
Spoken speakOnAThread(const QString& voiceName, bool cancelled) {
  Spoken result;
  std::thread([&] {
    SapiVoice voice;
    SpeechSettings settings;
    settings.voice = voiceName;
    const std::atomic_bool cancel{cancelled};
    QElapsedTimer timer;
    timer.start();
    result.fault = voice.speak(QStringLiteral("Alarm für die Feuerwehr, zwei eins null null eins."),
                               settings, cancel, [&] { ++result.firstSamples; });
    result.ms = timer.elapsed();
  }).join();
  return result;
}

} // namespace

// Either the system speaks, tells its first sample once and returns, or it says calmly why not;
// never a hang. Wine 8.0 lists one voice without name or language, whose every call is E_NOTIMPL.
TEST(SapiVoice, SpeaksGermanOrSaysWhyNotAndNamesAMissingVoice) {
  const Spoken german = speakOnAThread(QStringLiteral("de"), false);
  std::printf("German voice: \"%s\" after %lld ms, %d first samples\n",
              german.fault.toUtf8().constData(), german.ms, german.firstSamples);
  EXPECT_LT(german.ms, 60000);
  EXPECT_EQ(german.firstSamples, german.fault.isEmpty() ? 1 : 0);

  const Spoken missing = speakOnAThread(QStringLiteral("Keine solche Stimme"), false);
  EXPECT_EQ(missing.fault, u"Stimme \"Keine solche Stimme\" nicht gefunden");

  // Wine's only voice, which has no name and cannot speak; not there on Windows.
  const Spoken wines = speakOnAThread(QStringLiteral("Wine Default Voice"), false);
  EXPECT_FALSE(wines.fault.isEmpty());
  std::printf("Wine's voice: \"%s\"\n", wines.fault.toUtf8().constData());
  EXPECT_LT(wines.ms, 60000);

  const Spoken cancelled = speakOnAThread(QStringLiteral("de"), true);
  EXPECT_EQ(cancelled.fault, german.fault) << "a cancel is no fault";
  EXPECT_LT(cancelled.ms, 10000);
}
