// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_export.h"

#include "history/history_model.h"
#include "journal/journal_export.h"

#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

namespace meldlux {

QString HistoryExport::writeCsv(const QString& journalPath, const JournalFilter& filter,
                                QIODevice& out, std::int64_t& rows) {
  rows = 0;
  if (!QFileInfo(journalPath).isFile())
    return QStringLiteral("Kein Journal vorhanden: ") + journalPath;
  JournalReader reader(journalPath);
  if (!reader.error().isEmpty())
    return reader.error();
  const auto put = [&out](const QByteArray& bytes) { return out.write(bytes) == bytes.size(); };
  if (!put(csvHeader()))
    return out.errorString();
  constexpr int kPage = 1000;
  std::int64_t before = 0;
  for (;;) {
    const std::vector<JournalEntry> page = reader.page(filter, kPage, before);
    if (!reader.lastError().isEmpty())
      return reader.lastError();
    for (const JournalEntry& e : page)
      if (!put(csvRowForSpreadsheet(e, historyKindCaption(e.kind))))
        return out.errorString();
    rows += std::int64_t(page.size());
    if (int(page.size()) < kPage)
      return {};
    before = page.back().id;
  }
}

QString HistoryExport::toFile(const QString& journalPath, const JournalFilter& filter,
                              const QString& file, std::int64_t& rows) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly))
    return out.errorString();
  if (QString error = writeCsv(journalPath, filter, out, rows); !error.isEmpty()) {
    out.cancelWriting();
    return error;
  }
  return out.commit() ? QString() : out.errorString();
}

} // namespace meldlux
