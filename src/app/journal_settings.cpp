// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_settings.h"

#include "settings/settings_store.h"

#include <QDir>
#include <algorithm>
#include <QStandardPaths>

namespace meldlux {

namespace {
const QString kSection = QStringLiteral("Journal");
}

QString JournalSettings::path() const { return QDir(folder).filePath(QStringLiteral("journal.sqlite")); }

JournalSettings readJournalSettings(const SettingsStore& store) {
  const QString app = QString::fromLatin1(SettingsStore::kApplication);
  JournalSettings s;
  s.enabled = store.read(app, kSection, QStringLiteral("Enabled"), QStringLiteral("1")).trimmed() !=
              u"0";
  bool ok = false;
  const int days =
      store.read(app, kSection, QStringLiteral("RetentionDays"), QStringLiteral("365")).toInt(&ok);
  if (ok && days >= 0)
    s.retentionDays = days;
  const int retry =
      store.read(app, kSection, QStringLiteral("RetrySeconds"), QStringLiteral("30")).toInt(&ok);
  if (ok && retry >= 1 && retry <= 24 * 3600)
    s.retrySeconds = retry;
  s.folder = store.read(app, kSection, QStringLiteral("Folder"), {}).trimmed();
  if (s.folder.isEmpty())
    s.folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  return s;
}

void writeJournalSettings(SettingsStore& store, bool enabled, int retentionDays,
                          const QString& folder) {
  const QString app = QString::fromLatin1(SettingsStore::kApplication);
  const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  const QString kept = QDir::cleanPath(folder.trimmed()) == QDir::cleanPath(dataFolder)
                           ? QString()
                           : folder.trimmed();
  store.write(app, {{kSection, QStringLiteral("Enabled"), enabled ? QStringLiteral("1") : QStringLiteral("0")},
                    {kSection, QStringLiteral("RetentionDays"), QString::number(std::max(0, retentionDays))},
                    {kSection, QStringLiteral("Folder"), kept}});
}

} // namespace meldlux
