// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/event_log_file.h"
#include "telegrams/sound_player.h"

#include <QString>
#include <QStringList>

// Remembers every play request instead of making a noise; the names in unplayable count as
// files that are missing or cannot be read.
class RecordingSoundPlayer final : public meldlux::SoundPlayer {
public:
  bool play(const QString& fileSettingText) override {
    played << fileSettingText;
    return !unplayable.contains(fileSettingText);
  }
  QStringList played;
  QStringList unplayable;
};
