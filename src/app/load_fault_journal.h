// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/load_diagnostics.h"

#include <functional>

namespace meldlux {

class Clock;
class JournalSink;
class ReferenceFiles;

// Start-up's loader diagnostics: a reference file that could not be loaded whole goes to the
// journal as a fault entry with its path and why, so that a box nobody saw leaves a trace, and
// the same line to `shown` (the strip and the tray's tip).
// Skipped lines and records are the data check's business and are left out.
class LoadFaultJournal final : public LoadDiagnostics {
public:
  LoadFaultJournal(const ReferenceFiles& files, const Clock& clock, JournalSink& journal,
                   std::function<void(const QString&)> shown = {})
      : files_(files), clock_(clock), journal_(journal), shown_(std::move(shown)) {}

  void skipped(const QString& file, Unit unit, qint64 number, const QString& reason) override;

private:
  const ReferenceFiles& files_;
  const Clock& clock_;
  JournalSink& journal_;
  std::function<void(const QString&)> shown_;
};

} // namespace meldlux
