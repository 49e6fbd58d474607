#pragma once

#include "telegrams/sound_player.h"

#include <QStringList>

// Remembers every play request instead of making a noise.
class RecordingSoundPlayer final : public meldlux::SoundPlayer {
public:
  void play(const QString& fileSettingText) override { played << fileSettingText; }
  QStringList played;
};
