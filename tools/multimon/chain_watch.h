// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace meldlux::multimon {

// Tells when the receiver's chain has gone quiet without ending: the audio source writes nothing
// for the timeout, or multimon-ng leaves what it was given in its pipe for that long. Times are
// milliseconds of one monotonic clock, handed in by the caller.
class ChainWatch {
public:
  enum class Fault { None, SourceSilent, DecoderStuck };

  explicit ChainWatch(qint64 timeoutMs) : timeoutMs_(timeoutMs) {}

  void sourceStarted(qint64 now) { lastAudio_ = now; }
  void audioArrived(qint64 now) { lastAudio_ = now; }
  void decoderStarted(qint64 now);
  // What the pipe to multimon-ng holds now, and how much was written to it so far: a write
  // since the last look means multimon-ng made room.
  void pipeHolds(qint64 now, int bytes, qint64 written);

  // Each fault once: after it the watch starts afresh for that part.
  Fault check(qint64 now);

private:
  qint64 timeoutMs_;
  qint64 lastAudio_ = 0;
  qint64 stuckSince_ = -1; // the pipe has held bytes, none of them read, since then
  int lastHeld_ = 0;
  qint64 lastWritten_ = -1;
};

} // namespace meldlux::multimon
