// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/reference_files.h"

#include <QDir>
#include <QFile>
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
  EXPECT_EQ(files.find("FAHRZEUG.DAT"), temp.filePath("data/Fahrzeug.Dat"));
  EXPECT_EQ(files.find("settings\\boslist.wbr"), temp.filePath("data/Settings/BOSList.wbr"));
  EXPECT_FALSE(files.find("..\\Orte.txt"));
  EXPECT_FALSE(files.find(temp.filePath("Orte.txt")));
}
