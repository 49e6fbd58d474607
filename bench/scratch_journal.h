// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>

// A journal file in a folder of its own that a benchmark fills once and removes at exit.
struct ScratchJournal {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("journal.sqlite"));
  std::int64_t rows = 0;
};
