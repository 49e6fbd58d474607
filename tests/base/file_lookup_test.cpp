#include "base/file_lookup.h"

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

TEST(FindFileIgnoringCase, EveryComponentMatchesWithoutRegardToCaseExactCaseFirst) {
  QTemporaryDir temp;
  touch(temp, "settings/FahrzeugMelder.wbr");
  touch(temp, "ton5.dat");
  touch(temp, "Ton5.dat");
  const QDir dir(temp.path());
  EXPECT_EQ(findFileIgnoringCase("Settings\\Fahrzeugmelder.wbr", dir),
            dir.filePath("settings/FahrzeugMelder.wbr"));
  EXPECT_EQ(findFileIgnoringCase("SETTINGS/fahrzeugmelder.WBR", dir),
            dir.filePath("settings/FahrzeugMelder.wbr"));
  EXPECT_EQ(findFileIgnoringCase("Ton5.dat", dir), dir.filePath("Ton5.dat"));
  EXPECT_EQ(findFileIgnoringCase("ton5.dat", dir), dir.filePath("ton5.dat"));
  EXPECT_EQ(findFileIgnoringCase("TON5.DAT", dir), dir.filePath("Ton5.dat")); // sorted first
}

TEST(FindFileIgnoringCase, FoldersAndMissingComponentsAreNoFile) {
  QTemporaryDir temp;
  QDir(temp.path()).mkpath("POCSAG.DAT");
  touch(temp, "Orte.txt");
  const QDir dir(temp.path());
  EXPECT_FALSE(findFileIgnoringCase("POCSAG.DAT", dir));
  EXPECT_FALSE(findFileIgnoringCase("Settings\\BOSList.wbr", dir));
  EXPECT_FALSE(findFileIgnoringCase("Orte.txt\\x", dir));
  EXPECT_FALSE(findFileIgnoringCase("", dir));
  EXPECT_FALSE(findFileIgnoringCase("\\", dir));
}

TEST(FindFileIgnoringCase, AbsoluteAndParentPathsAsSoundFilesMayBe) {
  QTemporaryDir temp;
  touch(temp, "Sounds/Alarm.WAV");
  touch(temp, "Work/x");
  const QDir work(temp.filePath("Work"));
  const auto absolute = findFileIgnoringCase(temp.filePath("sounds/alarm.wav"), work);
  ASSERT_TRUE(absolute);
  EXPECT_TRUE(QFileInfo(*absolute).isFile());
  EXPECT_EQ(QFileInfo(*absolute).canonicalFilePath(),
            QFileInfo(temp.filePath("Sounds/Alarm.WAV")).canonicalFilePath());
  const auto parent = findFileIgnoringCase("..\\SOUNDS\\alarm.wav", work);
  ASSERT_TRUE(parent);
  EXPECT_EQ(QFileInfo(*parent).canonicalFilePath(), QFileInfo(*absolute).canonicalFilePath());
}
