// SPDX-License-Identifier: GPL-3.0-or-later
#include "chain_watch.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace meldlux::multimon;
using Fault = ChainWatch::Fault;

TEST(ChainWatch, ASilentSourceIsToldOnceAfterTheTimeoutAndAudioPutsItOff) {
  ChainWatch watch(10'000);
  watch.sourceStarted(0);
  EXPECT_EQ(watch.check(9'999), Fault::None);
  watch.audioArrived(9'999);
  EXPECT_EQ(watch.check(19'998), Fault::None);
  EXPECT_EQ(watch.check(19'999), Fault::SourceSilent);
  EXPECT_EQ(watch.check(29'999), Fault::SourceSilent);
}

TEST(ChainWatch, ADecoderIsStuckOnlyWhileThePipeHoldsBytesAndNothingMoves) {
  ChainWatch watch(10'000);
  // Read block by block (the pipe holds a block at every look, but writes go on), then nothing
  // written after 31 s: the first look that sees no write (32 s) starts the count.
  for (qint64 t = 0; t <= 42'000; t += 1000) {
    watch.audioArrived(t);
    watch.pipeHolds(t, 4000, std::min<qint64>(t, 31'000) * 4);
    ASSERT_EQ(watch.check(t), t < 42'000 ? Fault::None : Fault::DecoderStuck) << t;
  }
  watch.pipeHolds(43'000, 0, 0); // an empty pipe is never stuck
  EXPECT_EQ(watch.check(60'000), Fault::SourceSilent);
}
