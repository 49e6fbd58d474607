// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

class SettingsStore;

// The journal's keys, in a section of their own:
// [Journal] Enabled=1|0, RetentionDays=N (0 keeps all), Folder=path (empty: the data folder),
// RetrySeconds=N (after a failure; default 30).
struct JournalSettings {
  bool enabled = true;
  int retentionDays = 365;
  int retrySeconds = 30;
  QString folder; // absolute; the user's data folder when the key is empty

  QString path() const;
};

// Unreadable values fall back to the defaults.
JournalSettings readJournalSettings(const SettingsStore& store);
// Enabled, RetentionDays and Folder as the journal page sets them (an empty folder: the data
// folder); RetrySeconds stays as it is.
void writeJournalSettings(SettingsStore& store, bool enabled, int retentionDays,
                          const QString& folder);

} // namespace meldlux
