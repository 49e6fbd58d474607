// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_settings.h"
#include "settings/settings_store.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

// Each key alone in an otherwise empty [Journal] section; a value out of range keeps the default.
TEST(JournalSettings, ReadsEachKeyAndKeepsTheDefaultForAnUnusableValue) {
  struct Case {
    const char* key;
    const char* value;
    JournalSettings expected;
  };
  const auto with = [](auto change) {
    JournalSettings s;
    s.folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    change(s);
    return s;
  };
  const Case cases[] = {
      {"Enabled", "0", with([](JournalSettings& s) { s.enabled = false; })},
      {"Enabled", " 0 ", with([](JournalSettings& s) { s.enabled = false; })},
      {"Enabled", "nein", with([](JournalSettings&) {})},
      {"RetentionDays", "0", with([](JournalSettings& s) { s.retentionDays = 0; })},
      {"RetentionDays", "-1", with([](JournalSettings&) {})},
      {"RetentionDays", "x", with([](JournalSettings&) {})},
      {"RetrySeconds", "1", with([](JournalSettings& s) { s.retrySeconds = 1; })},
      {"RetrySeconds", "86400", with([](JournalSettings& s) { s.retrySeconds = 86400; })},
      {"RetrySeconds", "0", with([](JournalSettings&) {})},
      {"RetrySeconds", "86401", with([](JournalSettings&) {})},
      {"Folder", " /srv/wache ", with([](JournalSettings& s) { s.folder = "/srv/wache"; })},
  };
  const QString app = QString::fromLatin1(SettingsStore::kApplication);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    store.write(app, QStringLiteral("Journal"), QString::fromLatin1(c.key),
                QString::fromLatin1(c.value));
    const JournalSettings s = readJournalSettings(store);
    EXPECT_EQ(s.enabled, c.expected.enabled);
    EXPECT_EQ(s.retentionDays, c.expected.retentionDays);
    EXPECT_EQ(s.retrySeconds, c.expected.retrySeconds);
    EXPECT_EQ(s.folder, c.expected.folder);
  }
}

} // namespace
} // namespace meldlux
