// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/sound_player_windows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace meldlux;

namespace {

// What the player asked of PlaySound, in order: {path or "" for a stop, flags}.
struct Calls {
  std::vector<std::pair<std::wstring, unsigned>> made;
  bool result = true;
  WindowsSoundPlayer::PlaySoundCall call() {
    return [this](const wchar_t* path, unsigned flags) {
      made.emplace_back(path ? path : L"", flags);
      return result;
    };
  }
};

} // namespace

// Every request first stops the sound playing; a WAV file found with other letter case plays in
// the background by its full Windows path, and a refusal of PlaySound is reported.
TEST(WindowsSoundPlayer, StopsThenPlaysTheFoundFileAndReportsARefusal) {
  QTemporaryDir dir;
  QFile file(QDir(dir.path()).filePath(QStringLiteral("Alarm.wav")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16));
  file.close();
  Calls calls;
  WindowsSoundPlayer player(calls.call());
  EXPECT_TRUE(player.play(QDir(dir.path()).filePath(QStringLiteral("ALARM.WAV"))));
  ASSERT_EQ(calls.made.size(), 2u);
  EXPECT_EQ(calls.made[0].first, L"");
  const QString played = QString::fromStdWString(calls.made[1].first);
  EXPECT_TRUE(QDir::isAbsolutePath(played) && !played.contains(u'/')) << played.toStdString();
  EXPECT_TRUE(QFileInfo(played) == QFileInfo(file.fileName())) << played.toStdString();
  EXPECT_EQ(calls.made[1].second, WindowsSoundPlayer::fileFlags());

  calls.result = false;
  EXPECT_FALSE(player.play(file.fileName()));
}

// A missing file, an empty name and a file that is no WAV are reported before PlaySound sees
// them (in the background it would tell no one), so the shipped sound can stand in.
TEST(WindowsSoundPlayer, ReportsMissingAndNonWaveFilesWithoutPlaying) {
  QTemporaryDir dir;
  QFile text(QDir(dir.path()).filePath(QStringLiteral("notiz.wav")));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("Dies ist kein Klang, sondern Text.");
  text.close();
  Calls calls;
  WindowsSoundPlayer player(calls.call());
  for (const QString& name : {QDir(dir.path()).filePath(QStringLiteral("fehlt.wav")), QString(),
                              text.fileName()}) {
    SCOPED_TRACE(name.toStdString());
    calls.made.clear();
    EXPECT_FALSE(player.play(name));
    ASSERT_EQ(calls.made.size(), 1u) << "only the stop";
    EXPECT_EQ(calls.made[0].first, L"");
  }
}
