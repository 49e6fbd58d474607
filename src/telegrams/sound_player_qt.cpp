// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/sound_player_qt.h"

#include "base/file_lookup.h"

#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>

namespace meldlux {

namespace {

class QtSoundEffect final : public SoundEffectPort {
public:
  QtSoundEffect() { effect_.setLoopCount(1); }
  QUrl source() const override { return effect_.source(); }
  Status status() const override {
    switch (effect_.status()) {
    case QSoundEffect::Null:
      return Status::Null;
    case QSoundEffect::Loading:
      return Status::Loading;
    case QSoundEffect::Ready:
      return Status::Ready;
    case QSoundEffect::Error:
      break;
    }
    return Status::Error;
  }
  void load(const QUrl& source) override {
    // QSoundEffect ignores a source it has already, however that load ended.
    effect_.setSource(QUrl());
    effect_.setSource(source);
  }
  void play() override { effect_.play(); }
  void stop() override { effect_.stop(); }

private:
  QSoundEffect effect_;
};

} // namespace

QtSoundPlayer::QtSoundPlayer() : QtSoundPlayer(std::make_unique<QtSoundEffect>()) {}

QtSoundPlayer::QtSoundPlayer(std::unique_ptr<SoundEffectPort> effect)
    : effect_(std::move(effect)) {}

QtSoundPlayer::~QtSoundPlayer() = default;

bool QtSoundPlayer::play(const QString& fileSettingText) {
  effect_->stop();
  const auto path = findFileIgnoringCase(fileSettingText);
  if (!path || !QFile(*path).open(QIODevice::ReadOnly))
    return false;
  const QFileInfo file(*path);
  const QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
  // A load that failed stays failed and a replaced file keeps the old sound: either is loaded
  // again, or every later alarm of that name would be silent or wrong for the rest of the run.
  const SoundEffectPort::Status status = effect_->status();
  if (effect_->source() != source || status == SoundEffectPort::Status::Error ||
      status == SoundEffectPort::Status::Null || file.lastModified() != loadedModified_ ||
      file.size() != loadedSize_) {
    effect_->load(source);
    loadedModified_ = file.lastModified();
    loadedSize_ = file.size();
  }
  effect_->play();
  return true;
}

} // namespace meldlux
