// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace meldlux {

class LoadDiagnostics;
class Options;
class PlaceTable;
struct ReplacementTable;

// Shows a loader's count in the popup: AddMessage in white, refresh, layout, display timer.
using LoaderNotice = std::function<void(const QString& text)>;

// Loads the user's two list files at start-up: "Orte.txt" (coded places) and "Ersetzen.txt"
// (text replacements). A missing file leaves its table empty and says nothing; one that is there
// but cannot be opened throws Failure.
class UserListsLoader {
public:
  // diagnostics, when given, hears of every line that is not taken (for the data check tool).
  UserListsLoader(const Options& options, LoaderNotice notice,
                  LoadDiagnostics* diagnostics = nullptr);

  // Fills the place table (at most 9500 rows counted; further lines overwrite row 9500), sorts
  // it and returns the count.
  std::int16_t LoadPlaces(PlaceTable& table, const QString& fileName);
  // Fills the replacement table (at most 500 pairs counted; further pairs overwrite row 500) and
  // returns the count, which is also the table's ReplacementCount afterwards.
  std::int16_t LoadReplacements(ReplacementTable& table, const QString& fileName);

private:
  void notify(const QString& text);
  void skipped(const QString& fileName, qint64 lineNumber, const QString& reason);

  const Options& options_;
  LoaderNotice notice_;
  LoadDiagnostics* diagnostics_;
};

} // namespace meldlux
