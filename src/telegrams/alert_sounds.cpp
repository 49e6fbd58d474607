// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/alert_sounds.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "base/numbers.h"
#include "state/link_state.h"
#include "state/options.h"
#include "telegrams/sound_player.h"

#include <QDir>

namespace meldlux {

AlertSounds::AlertSounds(const Options& options, const Clock& clock, const LinkState& link,
                         EventLog& log, SoundPlayer& player, Shipped shipped)
    : options_(options), clock_(clock), link_(link), log_(log), player_(player),
      shipped_(std::move(shipped)) {}

bool AlertSounds::quietStartOver() const {
  return (clock_.now() - link_.ConnectedSince) * kSecondsPerDay > 50;
}

void AlertSounds::playAlarm() {
  if (options_.checked(Check::chkSndAlarm))
    request(options_.text(Text::txtSndAlarm), kShippedAlarm);
}

void AlertSounds::playVehicleStatus() {
  if (options_.checked(Check::chkSndFzg) && quietStartOver())
    request(options_.text(Text::txtSndFzg), kShippedStatus);
}

void AlertSounds::playControlText() {
  if (options_.checked(Check::chkSndText) && quietStartOver())
    request(options_.text(Text::txtSndText), kShippedText);
}

void AlertSounds::playSprechaufforderung(const QString& identifier) {
  if (options_.checked(Check::chkSndSA) &&
      identifier.contains(trimSpaces(options_.text(Text::txtSndSAKennung))))
    request(options_.text(Text::txtSndSA), kShippedSprechaufforderung);
}

void AlertSounds::playWarning(const QString& fileSettingText) {
  if (fileSettingText.isEmpty() && !shipped_.folder.isEmpty())
    request(QDir(shipped_.folder).filePath(QLatin1String(kShippedWarning)), kShippedWarning);
  else
    request(fileSettingText, kShippedWarning);
}

void AlertSounds::request(const QString& fileSettingText, const char* shippedFile) {
  log_.write(u"sound", {fileSettingText});
  if (player_.play(fileSettingText))
    return;
  // A mistyped or unreadable file must not make a silent alarm: the sound of its kind stands in.
  const bool stoodIn = !shipped_.folder.isEmpty() &&
                       player_.play(QDir(shipped_.folder).filePath(QLatin1String(shippedFile)));
  if (noticed_.contains(fileSettingText) || !shipped_.notice)
    return;
  noticed_.insert(fileSettingText);
  const QString what = fileSettingText.isEmpty()
                           ? QStringLiteral("Keine Tondatei eingestellt")
                           : QStringLiteral("Tondatei \u201E%1\u201C nicht abspielbar").arg(fileSettingText);
  shipped_.notice(what + (stoodIn ? QStringLiteral(", Standardton gespielt")
                                  : QStringLiteral(", kein Standardton vorhanden")));
}

} // namespace meldlux
