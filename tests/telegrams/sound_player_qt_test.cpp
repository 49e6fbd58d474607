// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/thread_as_nobody.h"
#include "telegrams/sound_player_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

namespace {

// Stands in for QSoundEffect: counts loads, and its load ends as the test says.
class FakeEffect final : public SoundEffectPort {
public:
  struct Record {
    int loads = 0;
    int plays = 0;
    Status afterLoad = Status::Ready;
  };
  explicit FakeEffect(Record& record) : record_(record) {}
  QUrl source() const override { return source_; }
  Status status() const override { return status_; }
  void load(const QUrl& source) override {
    source_ = source;
    status_ = record_.afterLoad;
    ++record_.loads;
  }
  void play() override { ++record_.plays; }
  void stop() override {}

private:
  Record& record_;
  QUrl source_;
  Status status_ = Status::Null;
};

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

} // namespace

// A name is loaded once while its load holds; a load that failed (no audio device yet at
// autostart, a read error) or a file replaced under the same name is loaded again.
TEST(QtSoundPlayer, LoadsAgainAfterAFailedLoadOrAChangedFile) {
  QTemporaryDir dir;
  const QString path = QDir(dir.path()).filePath(QStringLiteral("alarm.wav"));
  writeFile(path, "RIFF first");
  for (const auto failed : {SoundEffectPort::Status::Error, SoundEffectPort::Status::Null}) {
    SCOPED_TRACE(int(failed));
    FakeEffect::Record record;
    QtSoundPlayer player(std::make_unique<FakeEffect>(record));
    record.afterLoad = failed;
    player.play(path);
    record.afterLoad = SoundEffectPort::Status::Ready;
    player.play(path); // the failed load is not kept
    player.play(path); // a good one is
    EXPECT_EQ(record.loads, 2);
    EXPECT_EQ(record.plays, 3);
  }

  FakeEffect::Record record;
  QtSoundPlayer player(std::make_unique<FakeEffect>(record));
  player.play(path);
  writeFile(path, "RIFF second, longer");
  player.play(path);
  EXPECT_EQ(record.loads, 2) << "a file replaced under the same name";
}

// A name that finds no file, or a file that cannot be read, is reported to the caller (who then
// plays the shipped sound); the effect gets neither.
TEST(QtSoundPlayer, ReportsAFileThatIsMissingOrCannotBeRead) {
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                    QFileDevice::ExeOther));
  const QString path = QDir(dir.path()).filePath(QStringLiteral("alarm.wav"));
  writeFile(path, "RIFF");
  FakeEffect::Record record;
  QtSoundPlayer player(std::make_unique<FakeEffect>(record));
  EXPECT_TRUE(player.play(path));
  EXPECT_FALSE(player.play(QDir(dir.path()).filePath(QStringLiteral("fehlt.wav"))));
  EXPECT_FALSE(player.play(QString()));
  ASSERT_TRUE(QFile::setPermissions(path, {}));
  {
    const ThreadAsNobody nobody;
    ASSERT_TRUE(nobody.holds());
    EXPECT_FALSE(player.play(path));
  }
  EXPECT_EQ(record.loads, 1);
  EXPECT_EQ(record.plays, 1);
}
