// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/first_start.h"

#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "state/options.h"
#include "telegrams/alert_sounds.h"

#include <QDir>

namespace meldlux {

bool storeHoldsNoSettings(const SettingsStore& store) {
  // No stored value holds a line break, so this one stands for a missing key.
  const QString missing = QStringLiteral("\n");
  const QString application = QString::fromLatin1(SettingsStore::kApplication);
  for (const SettingKey& key : SettingKeys::loadOrder())
    if (store.read(application, key.sectionText(), key.nameText(), missing) != missing)
      return false;
  return true;
}

FirstStartChoice FirstStartChoice::offeredFor(const Options& options) {
  FirstStartChoice c;
  c.server = options.text(Text::txtSrv);
  c.port = options.text(Text::txtSrvPort);
  c.password = options.text(Text::txtPW);
  return c;
}

void applyFirstStart(const FirstStartChoice& choice, Options& options, const QString& soundFolder) {
  options.setText(Text::txtSrv, choice.server.trimmed());
  options.setText(Text::txtSrvPort, choice.port.trimmed());
  options.setText(Text::txtPW, choice.password);
  if (choice.autoConnect)
    options.setChecked(Check::chkAuto, true);
  const struct {
    bool wanted;
    Check box;
    Text file;
    const char* shipped;
  } sounds[] = {
      {choice.alarmSound, Check::chkSndAlarm, Text::txtSndAlarm, AlertSounds::kShippedAlarm},
      {choice.statusSound, Check::chkSndFzg, Text::txtSndFzg, AlertSounds::kShippedStatus},
      {choice.textSound, Check::chkSndText, Text::txtSndText, AlertSounds::kShippedText},
      {choice.sprechaufforderungSound, Check::chkSndSA, Text::txtSndSA,
       AlertSounds::kShippedSprechaufforderung},
  };
  for (const auto& s : sounds) {
    if (!s.wanted)
      continue;
    if (!soundFolder.isEmpty() && options.text(s.file).trimmed().isEmpty())
      options.setText(s.file, QDir(soundFolder).filePath(QLatin1String(s.shipped)));
    options.setChecked(s.box, true);
  }
  if (choice.threeLinesAtBottom) {
    options.setText(Text::txtMsgLines, QStringLiteral("3"));
    options.OptPosition_Click(1);
  }
}

} // namespace meldlux
