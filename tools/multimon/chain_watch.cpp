// SPDX-License-Identifier: GPL-3.0-or-later
#include "chain_watch.h"

namespace meldlux::multimon {

void ChainWatch::decoderStarted(qint64) {
  stuckSince_ = -1;
  lastHeld_ = 0;
  lastWritten_ = -1;
}

void ChainWatch::pipeHolds(qint64 now, int bytes, qint64 written) {
  if (bytes == 0 || bytes < lastHeld_ || written != lastWritten_)
    stuckSince_ = -1; // read since the last look
  else if (stuckSince_ < 0)
    stuckSince_ = now;
  lastHeld_ = bytes;
  lastWritten_ = written;
}

ChainWatch::Fault ChainWatch::check(qint64 now) {
  if (stuckSince_ >= 0 && now - stuckSince_ >= timeoutMs_) {
    decoderStarted(now);
    return Fault::DecoderStuck;
  }
  if (now - lastAudio_ >= timeoutMs_) {
    lastAudio_ = now;
    return Fault::SourceSilent;
  }
  return Fault::None;
}

} // namespace meldlux::multimon
