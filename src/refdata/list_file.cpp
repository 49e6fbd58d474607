// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/list_file.h"

#include "base/failure.h"
#include "base/file_lookup.h"
#include "base/text_line_reader.h"

#include <QFile>

namespace meldlux {

bool ListFile::forEachLine(const QString& name, const std::function<void(QString& line)>& visit) {
  const auto path = findFileIgnoringCase(name);
  if (!path)
    return false;
  QFile file(*path);
  // Only a missing file is no error; one that is there but cannot be opened ends start-up, as
  // the server products' files do.
  if (!file.open(QIODevice::ReadOnly))
    throw Failure(QStringLiteral("Datei kann nicht gelesen werden: %1").arg(*path));
  // No line is longer than its file, so none is cut.
  TextLineReader reader(file, std::max<qsizetype>(file.size(), 1), LineEnds::CrLfOrCr);
  QString line;
  while (reader.next(line))
    visit(line);
  return true;
}

} // namespace meldlux
