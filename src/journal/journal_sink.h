// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

struct JournalEntry;

// Where the handlers hand every line they show. It must not fail nor wait: the strip comes first.
class JournalSink {
public:
  virtual ~JournalSink() = default;
  virtual void record(const JournalEntry& entry) = 0;
};

// Passes lines on to a journal that may come and go while the handlers stay.
class JournalRelay final : public JournalSink {
public:
  void setTarget(JournalSink* target) { target_ = target; }
  void record(const JournalEntry& entry) override {
    if (target_)
      target_->record(entry);
  }

private:
  JournalSink* target_ = nullptr;
};

// For a program run (and tests) without a journal.
class NoJournal final : public JournalSink {
public:
  void record(const JournalEntry&) override {}
};

} // namespace meldlux
