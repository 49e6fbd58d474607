#include "telegrams/list_file.h"

#include "base/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace meldlux {

QStringList ListFile::splitLines(QStringView text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (text[i] != u'\r')
      continue;
    lines.append(text.mid(start, i - start).toString());
    if (i + 1 < n && text[i + 1] == u'\n')
      ++i;
    start = i + 1;
  }
  if (start < n)
    lines.append(text.mid(start).toString());
  return lines;
}

QString ListFile::resolve(const QString& name) {
  QString path = name;
  path.replace(u'\\', u'/');
  if (path.isEmpty())
    return {};
  if (QFileInfo::exists(path))
    return path;

  // Walk the components and look each one up without regard to case.
  const bool absolute = path.startsWith(u'/');
  QDir dir(absolute ? QStringLiteral("/") : QStringLiteral("."));
  const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
  QString current = absolute ? QStringLiteral("/") : QString();
  for (qsizetype k = 0; k < parts.size(); ++k) {
    const QString& part = parts[k];
    QString found;
    if (part == u"." || part == u"..") {
      found = part;
    } else {
      const QStringList entries =
          dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
      for (const QString& entry : entries) {
        if (entry.compare(part, Qt::CaseInsensitive) == 0) {
          found = entry;
          if (entry == part)
            break;
        }
      }
    }
    if (found.isEmpty())
      return {};
    current =
        current.isEmpty() || current.endsWith(u'/') ? current + found : current + u'/' + found;
    if (k + 1 < parts.size() && !dir.cd(found))
      return {};
  }
  return QFileInfo::exists(current) ? current : QString();
}

std::optional<QStringList> ListFile::read(const QString& name) {
  const QString path = resolve(name);
  if (path.isEmpty())
    return std::nullopt;
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
    return std::nullopt;
  const QByteArray bytes = file.readAll();
  file.close();
  return splitLines(cp1252::decode(bytes));
}

} // namespace meldlux
