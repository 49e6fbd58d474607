// SPDX-License-Identifier: GPL-3.0-or-later
#include "chain_watch.h"

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
  EXPECT_EQ(watch.check(20'000), Fault::None); // once, then afresh
  EXPECT_EQ(watch.check(29'999), Fault::SourceSilent);
}

TEST(ChainWatch, ADecoderIsStuckOnlyWhileThePipeHoldsBytesAndNothingMoves) {
  ChainWatch watch(10'000);
  watch.sourceStarted(0);
  watch.decoderStarted(0);
  // Read block by block: the pipe holds a block at every look, but writes go on.
  for (qint64 t = 0, written = 0; t <= 30'000; t += 1000, written += 4000) {
    watch.audioArrived(t);
    watch.pipeHolds(t, 4000, written);
    ASSERT_EQ(watch.check(t), Fault::None) << t;
  }
  // Nothing read from now on: the first look that sees no write starts the count.
  for (qint64 t = 31'000; t < 42'000; t += 1000) {
    watch.audioArrived(t);
    watch.pipeHolds(t, 4000, 124'000);
    ASSERT_EQ(watch.check(t), Fault::None) << t;
  }
  watch.pipeHolds(42'000, 4000, 124'000);
  EXPECT_EQ(watch.check(42'000), Fault::DecoderStuck);
  watch.decoderStarted(41'500);
  watch.pipeHolds(42'000, 0, 0); // an empty pipe is never stuck
  EXPECT_EQ(watch.check(60'000), Fault::SourceSilent);
}
