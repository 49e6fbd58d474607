// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/monitor_settings.h"
#include "settings/settings_store.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

TEST(MonitorSettings, ReadsItsSectionAndKeepsTheDefaultForAnUnusableIdleTime) {
  const QString app = QString::fromLatin1(SettingsStore::kApplication);
  const auto read = [&](const QString& key, const QString& value) {
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    store.write(app, QStringLiteral("Alarmmonitor"), key, value);
    return readMonitorSettings(store);
  };
  EXPECT_TRUE(read(QStringLiteral("Start"), QStringLiteral(" 1")).start);
  EXPECT_FALSE(read(QStringLiteral("Start"), QStringLiteral("ja")).start);
  EXPECT_EQ(read(QStringLiteral("Bildschirm"), QStringLiteral(" HDMI-1 ")).screen, u"HDMI-1");
  EXPECT_EQ(
      read(QStringLiteral("Fahrzeuge"), QStringLiteral("64121011, Florian 1/44-1,,")).vehicles,
      (QStringList{QStringLiteral("64121011"), QStringLiteral("Florian 1/44-1")}));
  EXPECT_EQ(read(QStringLiteral("RuheNachMinuten"), QStringLiteral("5")).idleMinutes, 5);
  for (const char* bad : {"0", "-3", "x", "1441"})
    EXPECT_EQ(read(QStringLiteral("RuheNachMinuten"), QString::fromLatin1(bad)).idleMinutes, 30);
}

} // namespace
} // namespace meldlux
