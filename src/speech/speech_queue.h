// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech/speech_settings.h"
#include "speech/voice.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

namespace meldlux {

class EventLog;

// Reads texts out one after the other on a thread of its own, so neither the strip nor the link
// ever waits for a voice. Texts that come together wait their turn; each is read as often as the
// settings say. A fault of the voice is told once (until the voice speaks again); reception is not
// touched by it.
class SpeechQueue : public QObject {
  Q_OBJECT
public:
  SpeechQueue(std::unique_ptr<Voice> voice, EventLog& log, QObject* parent = nullptr);
  ~SpeechQueue() override;

  void setSettings(const SpeechSettings& settings) { settings_ = settings; }
  const SpeechSettings& settings() const { return settings_; }

  // Queues a text, to be read after delayMs (the alarm sound still playing) at the earliest.
  void say(const QString& text, int delayMs = 0);
  // Texts handed over and not yet finished.
  int pending() const { return pending_; }
  // The fault told last; empty while the voice speaks.
  QString fault() const { return fault_; }

Q_SIGNALS:
  // The voice has the text now (each repetition); the first sample of it is out.
  void handed(const QString& text);
  void firstSample(const QString& text);
  // The voice could not speak; told once per fault.
  void faultNoticed(const QString& why);
  void idle();

private:
  void onHanded(const QString& text);
  void onDone(const QString& fault);

  class Worker;
  EventLog& log_;
  SpeechSettings settings_;
  QThread thread_;
  Worker* worker_;
  std::atomic_bool cancel_{false};
  int pending_ = 0;
  QString fault_;
};

} // namespace meldlux
