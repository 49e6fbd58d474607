// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "support/event_log_file.h"
#include "support/wait.h"

#include <QDataStream>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace meldlux;
using meldlux::testing::waitUntil;

namespace {

// Records what it is asked to say; holds each text until the test opens the gate, or fails.
struct VoiceRecord {
  QMutex mutex;
  QStringList said;
  QList<qint64> msAfterStart;
  QThread* thread = nullptr;
  std::atomic_bool gateOpen{false};
  QString fault;
  QElapsedTimer started;
};

class RecordingVoice final : public Voice {
public:
  explicit RecordingVoice(VoiceRecord& record) : r_(record) {}
  QString speak(const QString& text, const SpeechSettings&, const std::atomic_bool& cancel,
                const std::function<void()>& firstSample) override {
    {
      QMutexLocker lock(&r_.mutex);
      r_.said << text;
      r_.msAfterStart << r_.started.elapsed();
      r_.thread = QThread::currentThread();
    }
    while (!r_.gateOpen && !cancel)
      QThread::msleep(5);
    if (r_.fault.isEmpty())
      firstSample();
    return r_.fault;
  }

private:
  VoiceRecord& r_;
};

// A silent PCM WAV file of the given length (8 kHz, 8 bits, mono).
void writeWav(const QString& path, int ms) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const quint32 bytes = quint32(8 * ms);
  QDataStream out(&file);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << quint32(36 + bytes);
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1)
      << quint16(8);
  out.writeRawData("data", 4);
  out << bytes;
  file.write(QByteArray(int(bytes), char(0x80)));
}

struct SpeechRig {
  explicit SpeechRig(const QStringList& rules) {
    DisplayPorts ports;
    ports.voice = std::make_unique<RecordingVoice>(voice);
    app = std::make_unique<Application>(std::make_unique<ManualClock>(),
                                        std::make_unique<EventLog>(log.path()), std::move(ports));
    app->alarmStation().rules().setRules(rules);
  }
  void pocsag(const QString& ric) {
    QString r = ric, text = QStringLiteral("B3 Wohnhaus"), sub = QStringLiteral("A");
    OleDate time = 0;
    app->alarmStation().handlers().HandlePocsag(r, text, sub, time);
  }
  QStringList said() {
    QMutexLocker lock(&voice.mutex);
    return voice.said;
  }
  EventLogFile log;
  VoiceRecord voice;
  std::unique_ptr<Application> app;
};

} // namespace

TEST(SpeechPath, SpeaksAfterTheAlarmSoundTwiceAndQueuesTheNextAlarmWithoutHoldingTheStrip) {
  QTemporaryDir dir;
  const QString sound = dir.filePath(QStringLiteral("alarm.wav"));
  writeWav(sound, 400);
  SpeechRig rig({QStringLiteral("POCSAG:1234567|sprechen|Alarm {code}"),
                 QStringLiteral("POCSAG:7654321|sprechen|Zweiter Alarm")});
  rig.app->options().setChecked(Check::chkSndAlarm, true);
  rig.app->options().setText(Text::txtSndAlarm, sound);
  rig.app->options().setChecked(Check::chkUnbekFME, true);

  rig.voice.started.start();
  rig.pocsag(QStringLiteral("1234567"));
  rig.pocsag(QStringLiteral("7654321")); // comes while the first is still being read
  rig.pocsag(QStringLiteral("1234567")); // a repeat within the repeat time: not read again
  // The voice is held, and still the strip took both alarms.
  ASSERT_TRUE(waitUntil([&] { return rig.said().size() == 1; }));
  EXPECT_EQ(rig.app->handlerSteps().ReceivedDme, 3);
  EXPECT_NE(rig.voice.thread, QThread::currentThread());
  EXPECT_GE(rig.voice.msAfterStart.first(), 390); // the alarm sound's 400 ms first
  rig.voice.gateOpen = true;
  ASSERT_TRUE(waitUntil([&] { return rig.app->alarmStation().speech().pending() == 0; }));

  const QString first = QStringLiteral("Alarm eins zwei drei vier fünf sechs sieben");
  const QStringList expected{first, first, QStringLiteral("Zweiter Alarm"),
                             QStringLiteral("Zweiter Alarm")};
  EXPECT_EQ(rig.said(), expected);
  QStringList logged = rig.log.lines(QStringLiteral("speech"));
  EXPECT_EQ(logged.size(), 4);
  EXPECT_EQ(logged.first(), QStringLiteral("speech\t") + first);
  // The alarm sound is asked for before the speech.
  const QStringList all = rig.log.lines();
  EXPECT_LT(all.indexOf(QStringLiteral("sound\t") + sound),
            all.indexOf(QStringLiteral("speech\t") + first));
}

TEST(SpeechPath, AVoiceThatCannotSpeakIsToldOnceAndReceptionGoesOn) {
  SpeechRig rig({QStringLiteral("POCSAG:1234567|sprechen|Alarm")});
  rig.voice.fault = QStringLiteral("Stimme \"de\" nicht gefunden");
  rig.voice.gateOpen = true;
  int told = 0;
  QObject::connect(&rig.app->alarmStation().speech(), &SpeechQueue::faultNoticed, [&] { ++told; });
  rig.pocsag(QStringLiteral("1234567"));
  rig.app->options().SuppressSeconds = 0;
  rig.pocsag(QStringLiteral("1234567"));
  ASSERT_TRUE(waitUntil([&] { return rig.app->alarmStation().speech().pending() == 0; }));
  EXPECT_EQ(rig.said().size(), 2); // one try per alarm: no repeating into a fault
  EXPECT_EQ(told, 1);
  EXPECT_EQ(rig.log.lines(QStringLiteral("speechfault")).size(), 1);
  // A fault of our own: a line in the strip, not in the status label.
  const QStringList faults = rig.log.lines(QStringLiteral("supervision"));
  ASSERT_EQ(faults.size(), 1);
  EXPECT_TRUE(faults[0].endsWith(u"Sprachausgabe: Stimme \"de\" nicht gefunden"));
  EXPECT_EQ(rig.app->handlerSteps().ReceivedDme, 2);
}
