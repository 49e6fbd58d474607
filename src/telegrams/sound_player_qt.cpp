#include "telegrams/sound_player_qt.h"

#include "telegrams/list_file.h"

#include <QFileInfo>
#include <QUrl>

namespace meldlux {

QtSoundPlayer::QtSoundPlayer() { effect_.setLoopCount(1); }

void QtSoundPlayer::play(const QString& fileSettingText) {
  effect_.stop();
  const QString path = ListFile::resolve(fileSettingText);
  if (path.isEmpty() || !QFileInfo(path).isFile())
    return;
  const QUrl source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
  if (effect_.source() != source)
    effect_.setSource(source); // loads in the background; play() starts once it is loaded
  effect_.play();
}

} // namespace meldlux
