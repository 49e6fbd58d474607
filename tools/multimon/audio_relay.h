// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

namespace meldlux::multimon {

// Hands raw audio (signed 16-bit samples) to multimon-ng's standard input so that how the source
// cuts its writes does not change what multimon-ng decodes. multimon-ng up to 1.3.0 hands each
// demodulator what one read() returned, and its POCSAG 512/1200 and FMS demodulators, which take
// every 5th or 2nd sample, drop one whenever that count is no multiple of theirs: small reads
// (rtl_fm writes 712 bytes at a time) lose POCSAG 512 pages and invent others. So the audio goes
// on in blocks of 4,000 bytes (a multiple of ten samples, below the pipe's atomic size), each
// written only once multimon-ng has read the one before: every read it does is one whole block.
// Measured on the generator's audio, blocks of 2,400 to 4,000 bytes decode exactly what a file
// read whole does; 2,000, 4,400 and 6,000 do not. multimon-ng 1.3.1 and later need whole
// samples only.
class AudioRelay : public QObject {
  Q_OBJECT
public:
  struct Options {
    int blockBytes = 4000;
    bool waitForDrain = true;                // the next block only once the pipe is empty
    qsizetype backlogBytes = 22050 * 2 * 60; // a minute of audio waits while it cannot write
  };

  static Options forMultimon(bool keepsPartialSteps);

  explicit AudioRelay(Options options, QObject* parent = nullptr);
  ~AudioRelay() override;

  // Writes to this pipe end (non-blocking); -1: none for now, the audio waits.
  void attach(int pipeFd);
  void push(const QByteArray& audio);

  qsizetype waiting() const { return pending_.size(); }
  qint64 dropped() const { return dropped_; }
  qint64 written() const { return written_; }
  // Bytes written and not yet read by multimon-ng.
  int inPipe() const;

Q_SIGNALS:
  // The reader is gone (multimon-ng ended); the audio waits for the next attach().
  void writeFailed();

private:
  void pump();

  Options options_;
  int fd_ = -1;
  QByteArray pending_;
  QTimer retry_;
  qint64 dropped_ = 0;
  qint64 written_ = 0;
};

} // namespace meldlux::multimon
