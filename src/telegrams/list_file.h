#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace meldlux {

// The user's own list files ("Orte.txt", "Ersetzen.txt") are 8-bit ANSI text written on Windows.
class ListFile {
public:
  // Splits text into lines: a line ends at CR LF or at a lone CR; a lone LF stays inside its
  // line. A terminator at the very end does not start a further, empty line.
  static QStringList splitLines(QStringView text);

  // Finds a file relative to the working directory. "\" separates folders too, and on a
  // case-sensitive file system each component is matched without regard to letter case.
  // Empty when nothing matches.
  static QString resolve(const QString& name);

  // Reads the whole file as Windows-1252 lines; nothing when it does not exist or cannot be read.
  static std::optional<QStringList> read(const QString& name);
};

} // namespace meldlux
