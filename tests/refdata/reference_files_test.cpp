// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/reference_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

TEST(ReferenceFiles, FoundBelowTheirDirectoryOnlyWithoutRegardToCase) {
  QTemporaryDir temp;
  QDir(temp.path()).mkpath("data/Settings");
  for (const char* name : {"Orte.txt", "data/Fahrzeug.Dat", "data/Settings/BOSList.wbr"}) {
    QFile file(temp.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const ReferenceFiles files{QDir(temp.filePath("data"))};
  // The same file; where the file system ignores case (Windows) the path keeps the asked spelling.
  const auto same = [](const std::optional<QString>& found, const QString& path) {
    return found && QFileInfo(*found) == QFileInfo(path);
  };
  EXPECT_TRUE(same(files.find("FAHRZEUG.DAT"), temp.filePath("data/Fahrzeug.Dat")));
  EXPECT_TRUE(same(files.find("settings\\boslist.wbr"), temp.filePath("data/Settings/BOSList.wbr")));
  EXPECT_FALSE(files.find("..\\Orte.txt"));
  // Absolute, also with a drive letter, and drive-relative.
  EXPECT_FALSE(files.find(temp.filePath("Orte.txt")));
  EXPECT_FALSE(files.find(QDir::toNativeSeparators(temp.filePath("Orte.txt"))));
  EXPECT_FALSE(files.find("C:Orte.txt"));
}
