#pragma once

namespace meldlux {

struct JournalEntry;

// Where the handlers hand every line they show. It must not fail nor wait: the strip comes first.
class JournalSink {
public:
  virtual ~JournalSink() = default;
  virtual void record(const JournalEntry& entry) = 0;
};

// For a program run (and tests) without a journal.
class NoJournal final : public JournalSink {
public:
  void record(const JournalEntry&) override {}
};

} // namespace meldlux
