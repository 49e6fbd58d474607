// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

// Told about every line or record a loader skips or cuts, for the data check tool; start-up's
// keeps what concerns a whole file for the journal. Without one the loaders build no report texts.
class LoadDiagnostics {
public:
  enum class Unit { File, Line, Record };
  virtual ~LoadDiagnostics() = default;
  // number: the line or record number counting from 1; 0 with Unit::File.
  virtual void skipped(const QString& file, Unit unit, qint64 number, const QString& reason) = 0;
};

} // namespace meldlux
