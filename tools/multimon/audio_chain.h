// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio_relay.h"
#include "backoff.h"
#include "chain_watch.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

namespace meldlux::multimon {

// The receiver's chain the bridge runs itself: an audio command (rtl_fm, arecord, ...) writing
// raw 22,050 Hz signed 16-bit mono audio to its standard output, and multimon-ng reading it
// through an AudioRelay. Either that ends is started again after the back-off, on its own; the
// audio waits meanwhile. So is a source silent for the timeout and a multimon-ng that leaves its
// pipe unread that long (ChainWatch). Each event is one line on stderr.
class AudioChain : public QObject {
  Q_OBJECT
public:
  struct Options {
    QString audioCommand;
    QStringList decoderArguments = defaultDecoderArguments();
    QString multimon = QStringLiteral("multimon-ng");
    int timeoutMs = 10'000;
  };

  static QStringList defaultDecoderArguments();
  // "multimon-ng 1.3.1" or later, the first line of `multimon-ng -h`: its demodulators keep what
  // a read leaves over. Anything else, or nothing, counts as older.
  static bool keepsPartialSteps(const QString& versionLine);

  explicit AudioChain(Options options, QObject* parent = nullptr);
  ~AudioChain() override;

  // Asks multimon-ng its version, then starts both.
  void start();
  void stop();

  int sourceStarts() const { return sourceStarts_; }
  int decoderStarts() const { return decoderStarts_; }
  const AudioRelay* relay() const { return relay_.get(); }

Q_SIGNALS:
  void decoded(const QByteArray& output); // multimon-ng's standard output
  void decoderEnded();                    // what it printed last may lack its line end
  void audioRead(qint64 bytes);
  // A part ended or went quiet and is started again.
  void faulted();
  // Audio came while both parts run.
  void flowing();

private:
  void startSource();
  void startDecoder();
  void sourceEnded();
  void decoderGone();
  void watch();
  static void end(QProcess& process);      // waits for it: the bridge is ending
  static void askToEnd(QProcess& process); // a part to start again: the loop goes on

  Options options_;
  std::unique_ptr<AudioRelay> relay_;
  QProcess source_;
  QProcess decoder_;
  QTimer sourceRestart_;
  QTimer decoderRestart_;
  QElapsedTimer sourceRunning_;
  QElapsedTimer decoderRunning_;
  Backoff sourceBackoff_;
  Backoff decoderBackoff_;
  ChainWatch watch_;
  QTimer watchTimer_;
  QElapsedTimer clock_;
  const char* sourceFault_ = nullptr; // why the source is being ended, for its one line
  const char* decoderFault_ = nullptr;
  int writeFd_ = -1;
  int sourceStarts_ = 0;
  int decoderStarts_ = 0;
  bool stopped_ = false;
};

} // namespace meldlux::multimon
