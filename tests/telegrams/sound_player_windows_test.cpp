// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/sound_player_windows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

// Every request first stops the sound playing. A WAV file plays in the background by its full
// Windows path, and PlaySound's refusal is reported; a missing file, an empty name and a file that
// is no WAV are reported before PlaySound sees them, so the shipped sound can stand in at once.
TEST(WindowsSoundPlayer, StopsThenPlaysAWaveFileAndReportsWhatCannotPlay) {
  QTemporaryDir dir;
  const auto write = [&](const char* name, const QByteArray& bytes) {
    QFile file(QDir(dir.path()).filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
  };
  const QString wave = write("Alarm.wav", QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16));
  const QString text = write("notiz.wav", "Kein Klang, sondern Text.");
  std::vector<std::pair<QString, unsigned>> calls;
  bool result = true;
  WindowsSoundPlayer player([&](const wchar_t* path, unsigned flags) {
    calls.emplace_back(path ? QString::fromWCharArray(path) : QStringLiteral("stop"), flags);
    return result;
  });
  EXPECT_TRUE(player.play(wave));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].first, u"stop");
  EXPECT_EQ(calls[1].first, QDir::toNativeSeparators(wave));
  EXPECT_EQ(calls[1].second, WindowsSoundPlayer::fileFlags());
  result = false;
  EXPECT_FALSE(player.play(wave));
  for (const QString& name :
       {QDir(dir.path()).filePath(QStringLiteral("fehlt.wav")), QString(), text}) {
    calls.clear();
    EXPECT_FALSE(player.play(name)) << name.toStdString();
    EXPECT_EQ(calls.size(), 1u) << "only the stop";
  }
}
