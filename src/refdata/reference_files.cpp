#include "refdata/reference_files.h"

#include <QFileInfo>
#include <QStringList>

namespace meldlux {

namespace {

// The entry of dir called name, in this case or another; exact case wins, otherwise the first
// in sorted order so the choice does not depend on the directory's order.
std::optional<QString> findEntry(const QDir& dir, const QString& name) {
  if (QFileInfo::exists(dir.filePath(name)))
    return dir.filePath(name);
  const QStringList entries = dir.entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0)
      return dir.filePath(entry);
  return std::nullopt;
}

} // namespace

ReferenceFiles::ReferenceFiles(QDir directory) : directory_(std::move(directory)) {}

std::optional<QString> ReferenceFiles::find(const QString& name) const {
  QString normalized = name;
  normalized.replace(u'\\', u'/');
  const QStringList parts = normalized.split(u'/', Qt::SkipEmptyParts);
  if (parts.isEmpty())
    return std::nullopt;
  QDir dir = directory_;
  QString path;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    if (part == u"." || part == u"..")
      return std::nullopt; // reference names never leave their directory
    const auto entry = findEntry(dir, part);
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
