// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/monitor_settings.h"

#include "settings/settings_store.h"

namespace meldlux {

MonitorSettings readMonitorSettings(const SettingsStore& store) {
  const QString app = QString::fromLatin1(SettingsStore::kApplication);
  const QString section = QStringLiteral("Alarmmonitor");
  const auto read = [&](const char* key) {
    return store.read(app, section, QString::fromLatin1(key), {}).trimmed();
  };
  MonitorSettings s;
  s.start = read("Start") == u"1";
  s.screen = read("Bildschirm");
  for (const QString& v : read("Fahrzeuge").split(u',', Qt::SkipEmptyParts))
    if (!v.trimmed().isEmpty())
      s.vehicles << v.trimmed();
  bool ok = false;
  const int minutes = read("RuheNachMinuten").toInt(&ok);
  if (ok && minutes >= 1 && minutes <= 24 * 60)
    s.idleMinutes = minutes;
  return s;
}

} // namespace meldlux
