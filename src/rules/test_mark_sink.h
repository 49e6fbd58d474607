// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_entry.h"
#include "journal/journal_sink.h"

namespace meldlux {

// The handlers' journal sink. While a rule is tested, their lines are marked as a test and go to
// the journal alone, so that the vehicle board does not take a made-up status for real.
class TestMarkSink final : public JournalSink {
public:
  TestMarkSink(JournalSink& normal, JournalSink& journalOnly)
      : normal_(normal), journalOnly_(journalOnly) {}

  void setTesting(bool testing) { testing_ = testing; }
  void record(const JournalEntry& entry) override {
    if (!testing_)
      return normal_.record(entry);
    JournalEntry marked = entry;
    marked.mark = JournalMark::Test;
    journalOnly_.record(marked);
  }

private:
  JournalSink& normal_;
  JournalSink& journalOnly_;
  bool testing_ = false;
};

} // namespace meldlux
