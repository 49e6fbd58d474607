// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/reference_files.h"

#include "base/file_lookup.h"

namespace meldlux {

ReferenceFiles::ReferenceFiles(QDir directory) : directory_(std::move(directory)) {}

std::optional<QString> ReferenceFiles::find(const QString& name) const {
  QString normalized = name;
  normalized.replace(u'\\', u'/');
  // Reference names never leave their directory: not by "..", nor as an absolute path, nor by a
  // drive letter ("C:\\..." or the drive-relative "C:...").
  const bool drive = normalized.size() >= 2 && normalized.at(1) == u':';
  if (normalized.startsWith(u'/') || drive || normalized.split(u'/').contains(QStringLiteral("..")))
    return std::nullopt;
  return findFileIgnoringCase(normalized, directory_);
}

} // namespace meldlux
