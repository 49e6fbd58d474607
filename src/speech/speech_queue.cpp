// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/speech_queue.h"

#include "base/event_log.h"

namespace meldlux {

// Lives on the speech thread; its slots run there one queued call after the other.
class SpeechQueue::Worker : public QObject {
  Q_OBJECT
public:
  Worker(std::unique_ptr<Voice> voice, const std::atomic_bool& cancel)
      : voice_(std::move(voice)), cancel_(cancel) {}

  void read(const QString& text, const SpeechSettings& settings, int delayMs) {
    for (int waited = 0; waited < delayMs && !cancel_; waited += 20)
      QThread::msleep(20);
    QString fault;
    for (int i = 0; i < settings.repeat && !cancel_ && fault.isEmpty(); ++i) {
      Q_EMIT handed(text);
      fault = voice_->speak(text, settings, cancel_, [&] { Q_EMIT firstSample(text); });
    }
    Q_EMIT done(fault);
  }

Q_SIGNALS:
  void handed(const QString& text);
  void firstSample(const QString& text);
  void done(const QString& fault);

private:
  std::unique_ptr<Voice> voice_;
  const std::atomic_bool& cancel_;
};

SpeechQueue::SpeechQueue(std::unique_ptr<Voice> voice, EventLog& log, QObject* parent)
    : QObject(parent), log_(log), worker_(new Worker(std::move(voice), cancel_)) {
  worker_->moveToThread(&thread_);
  connect(worker_, &Worker::handed, this, &SpeechQueue::onHanded);
  connect(worker_, &Worker::firstSample, this, [this](const QString& text) {
    log_.write(u"speechstart", {text});
    Q_EMIT firstSample(text);
  });
  connect(worker_, &Worker::done, this, &SpeechQueue::onDone);
  thread_.setObjectName(QStringLiteral("speech"));
  thread_.start();
}

SpeechQueue::~SpeechQueue() {
  // A text being read is cut short; the rest of the queue is dropped with the thread.
  cancel_ = true;
  thread_.quit();
  thread_.wait();
  delete worker_;
}

void SpeechQueue::say(const QString& text, int delayMs) {
  ++pending_;
  QMetaObject::invokeMethod(
      worker_, [w = worker_, text, s = settings_, delayMs] { w->read(text, s, delayMs); },
      Qt::QueuedConnection);
}

void SpeechQueue::onHanded(const QString& text) {
  log_.write(u"speech", {text});
  Q_EMIT handed(text);
}

void SpeechQueue::onDone(const QString& fault) {
  --pending_;
  if (fault.isEmpty()) {
    fault_.clear();
  } else if (fault != fault_) {
    fault_ = fault;
    log_.write(u"speechfault", {fault});
    Q_EMIT faultNoticed(fault);
  }
  if (pending_ == 0)
    Q_EMIT idle();
}

} // namespace meldlux

#include "speech_queue.moc"
