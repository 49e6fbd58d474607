#include "telegrams/alert_sounds.h"

#include "base/clock.h"
#include "base/event_log.h"
#include "base/numbers.h"
#include "state/link_state.h"
#include "state/options.h"
#include "telegrams/sound_player.h"

namespace meldlux {

AlertSounds::AlertSounds(const Options& options, const Clock& clock, const LinkState& link,
                         EventLog& log, SoundPlayer& player)
    : options_(options), clock_(clock), link_(link), log_(log), player_(player) {}

bool AlertSounds::quietStartOver() const {
  return (clock_.now() - link_.ConnectedSince) * kSecondsPerDay > 50;
}

void AlertSounds::playAlarm() {
  if (options_.checked(Check::chkSndAlarm))
    request(options_.text(Text::txtSndAlarm));
}

void AlertSounds::playVehicleStatus() {
  if (options_.checked(Check::chkSndFzg) && quietStartOver())
    request(options_.text(Text::txtSndFzg));
}

void AlertSounds::playControlText() {
  if (options_.checked(Check::chkSndText) && quietStartOver())
    request(options_.text(Text::txtSndText));
}

void AlertSounds::playSprechaufforderung(const QString& identifier) {
  if (options_.checked(Check::chkSndSA) &&
      identifier.contains(trimSpaces(options_.text(Text::txtSndSAKennung))))
    request(options_.text(Text::txtSndSA));
}

void AlertSounds::request(const QString& fileSettingText) {
  log_.write(u"sound", {fileSettingText});
  player_.play(fileSettingText);
}

} // namespace meldlux
