// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_sink.h"

namespace meldlux {

// Hands every line to two sinks, first to second: the journal and a view that follows it live.
class JournalTee final : public JournalSink {
public:
  JournalTee(JournalSink& first, JournalSink& second) : first_(first), second_(second) {}
  void record(const JournalEntry& entry) override {
    first_.record(entry);
    second_.record(entry);
  }

private:
  JournalSink& first_;
  JournalSink& second_;
};

} // namespace meldlux
