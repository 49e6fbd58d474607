// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QString>
#include <optional>

namespace meldlux {

// Finds the reference files by the names the program uses ("Fahrzeug.Dat",
// "Settings\BOSList.wbr") below one directory, normally the working directory. The server
// products come from a file system that ignores letter case, so on one that does not, each path
// component is matched without regard to case; an exact match is preferred.
class ReferenceFiles {
public:
  explicit ReferenceFiles(QDir directory = QDir::current());

  const QDir& directory() const { return directory_; }
  // The path of the existing file, or nothing when there is none.
  std::optional<QString> find(const QString& name) const;

private:
  QDir directory_;
};

} // namespace meldlux
