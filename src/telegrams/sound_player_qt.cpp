#include "telegrams/sound_player_qt.h"

#include "base/file_lookup.h"

#include <QFileInfo>
#include <QUrl>

namespace meldlux {

QtSoundPlayer::QtSoundPlayer() { effect_.setLoopCount(1); }

void QtSoundPlayer::play(const QString& fileSettingText) {
  effect_.stop();
  const auto path = findFileIgnoringCase(fileSettingText);
  if (!path)
    return;
  const QUrl source = QUrl::fromLocalFile(QFileInfo(*path).absoluteFilePath());
  if (effect_.source() != source)
    effect_.setSource(source); // loads in the background; play() starts once it is loaded
  effect_.play();
}

} // namespace meldlux
