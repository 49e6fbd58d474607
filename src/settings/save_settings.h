// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

class EventLog;
class Options;
class PopupAppearance;
class SettingsStore;
struct SettingKey;
struct StatusTables;

// Writes every setting of the program's own application from the controls, the runtime
// variables, the status tables and the popup, in its own fixed order, and logs "saved".
class SaveSettings {
public:
  SaveSettings(SettingsStore& store, const Options& options, const StatusTables& tables,
               const PopupAppearance& popup, EventLog& log);

  void operator()(bool mainWindowVisible);

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
