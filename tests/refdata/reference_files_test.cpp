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
  EXPECT_EQ(QFileInfo(files.find("FAHRZEUG.DAT").value_or("")),
            QFileInfo(temp.filePath("data/Fahrzeug.Dat")));
  EXPECT_EQ(QFileInfo(files.find("settings\\boslist.wbr").value_or("")),
            QFileInfo(temp.filePath("data/Settings/BOSList.wbr")));
  EXPECT_FALSE(files.find("..\\Orte.txt"));
  // Absolute, also with a drive letter, and drive-relative.
  EXPECT_FALSE(files.find(temp.filePath("Orte.txt")));
  EXPECT_FALSE(files.find(QDir::toNativeSeparators(temp.filePath("Orte.txt"))));
  EXPECT_FALSE(files.find("C:Orte.txt"));
}
