#include "refdata/reference_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

namespace {

void touch(const QTemporaryDir& dir, const QString& relative) {
  QDir(dir.path()).mkpath(QFileInfo(dir.filePath(relative)).path());
  QFile file(dir.filePath(relative));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(ReferenceFiles, EveryComponentMatchesWithoutRegardToCase) {
  QTemporaryDir dir;
  touch(dir, "settings/FahrzeugMelder.wbr");
  touch(dir, "Fahrzeug.Dat");
  const ReferenceFiles files{QDir(dir.path())};
  EXPECT_EQ(files.find("Settings\\Fahrzeugmelder.wbr"),
            dir.filePath("settings/FahrzeugMelder.wbr"));
  EXPECT_EQ(files.find("Settings\\FahrzeugMelder.wbr"),
            dir.filePath("settings/FahrzeugMelder.wbr"));
  EXPECT_EQ(files.find("fahrzeug.dat"), dir.filePath("Fahrzeug.Dat"));
  EXPECT_EQ(files.find("FAHRZEUG.DAT"), dir.filePath("Fahrzeug.Dat"));
}

TEST(ReferenceFiles, ExactCaseIsPreferred) {
  QTemporaryDir dir;
  touch(dir, "ton5.dat");
  touch(dir, "Ton5.dat");
  const ReferenceFiles files{QDir(dir.path())};
  EXPECT_EQ(files.find("Ton5.dat"), dir.filePath("Ton5.dat"));
  EXPECT_EQ(files.find("ton5.dat"), dir.filePath("ton5.dat"));
  EXPECT_EQ(files.find("TON5.DAT"), dir.filePath("Ton5.dat")); // first in sorted order
}

TEST(ReferenceFiles, AbsentDirectoriesAndFoldersAreNotFiles) {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath("POCSAG.DAT");
  touch(dir, "Settings.txt/x");
  touch(dir, "Orte.txt");
  const ReferenceFiles files{QDir(dir.path())};
  EXPECT_FALSE(files.find("POCSAG.DAT"));
  EXPECT_FALSE(files.find("Settings\\BOSList.wbr"));
  EXPECT_FALSE(files.find("Orte.txt\\x"));
  EXPECT_FALSE(files.find(""));
  EXPECT_FALSE(files.find("..\\Orte.txt"));
  EXPECT_TRUE(files.find("Orte.txt"));
}
