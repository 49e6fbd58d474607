// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/file_lookup.h"

#include <QFileInfo>
#include <QStringList>

namespace meldlux {

namespace {

std::optional<QString> findEntry(const QDir& dir, const QString& name) {
  if (name == u"." || name == u".." || QFileInfo::exists(dir.filePath(name)))
    return dir.filePath(name);
  const QStringList entries = dir.entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0)
      return dir.filePath(entry);
  return std::nullopt;
}

} // namespace

std::optional<QString> findFileIgnoringCase(const QString& name, const QDir& base) {
  QString normalized = name;
  normalized.replace(u'\\', u'/');
  const QStringList parts = normalized.split(u'/', Qt::SkipEmptyParts);
  if (parts.isEmpty())
    return std::nullopt;
  QDir dir = normalized.startsWith(u'/') ? QDir::root() : base;
  QString path;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const auto entry = findEntry(dir, parts[i]);
    if (!entry)
      return std::nullopt;
    path = *entry;
    const QFileInfo info(path);
    if (i + 1 < parts.size()) {
      if (!info.isDir())
        return std::nullopt;
      dir = QDir(path);
    } else if (!info.isFile()) {
      return std::nullopt;
    }
  }
  return path;
}

} // namespace meldlux
