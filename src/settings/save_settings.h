// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/settings_store.h"

#include <QString>
#include <vector>

namespace meldlux {

class EventLog;
class Options;
class PopupAppearance;
struct SettingKey;
struct StatusTables;

// Writes every setting of the program's own application from the controls, the runtime
// variables, the status tables and the popup, in its own fixed order, and logs "saved".
class SaveSettings {
public:
  SaveSettings(SettingsStore& store, const Options& options, const StatusTables& tables,
               const PopupAppearance& popup, EventLog& log);

  void operator()(bool mainWindowVisible) { write(entries(mainWindowVisible)); }

  // Every key with the text it is saved as, in the order of the save.
  std::vector<SettingsStore::Entry> entries(bool mainWindowVisible) const;
  // Writes them in one go and logs "saved", with why as its field when there is one.
  void write(const std::vector<SettingsStore::Entry>& entries, const QString& why = {});

  // The text a key is saved as.
  QString textOf(const SettingKey& key, bool mainWindowVisible) const;

private:
  SettingsStore& store_;
  const Options& options_;
  const StatusTables& tables_;
  const PopupAppearance& popup_;
  EventLog& log_;
};

} // namespace meldlux
