// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace meldlux {

// The user's own list files ("Orte.txt", "Ersetzen.txt") are 8-bit ANSI text written on Windows:
// a line ends at CR LF or at a lone CR, while a lone LF stays inside its line.
class ListFile {
public:
  // Hands each Windows-1252 line of the file, found without regard to letter case, to visit,
  // in order; false when there is no such file. A file that is there but cannot be opened
  // throws Failure. Lines are never cut, and only one is held at a time.
  static bool forEachLine(const QString& name, const std::function<void(QString& line)>& visit);
};

} // namespace meldlux
