// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>

namespace meldlux {

class Options;
class PopupAppearance;
class SettingsStore;
struct SettingKey;
struct StatusTables;

// Reads the settings into the option controls, the runtime variables, the status tables and the
// popup, in the groups that start-up interleaves with its other steps. Setting a control to a
// different value runs its rule as a user's change would (a stored MsgLines "50" shows "30").
// A number that does not fit its type throws Failure, which ends start-up at that step.
class LoadSettings {
public:
  LoadSettings(const SettingsStore& store, Options& options, StatusTables& tables,
               PopupAppearance& popup);

  // Status colour table: entries 0 to 15 from the first server product's keys, 16 and 17 from
  // FarbeFME and FarbeDME, 18 white.
  void statusColours();
  // Organisation-code table from the first server product's keys.
  void organisationCodes();
  // Adresse.
  void serverAddress();
  // Port to PWChar: the connection, popup and sound options.
  void connectionPopupAndSounds();
  // MsgFontName to MsgBackColor: the popup's font and background.
  void popupAppearance();
  // FormInTray and UnterdrueckenSek: InTray and SuppressSeconds only; start-up sets chkSysTray
  // itself once the tray exists.
  void trayKeys();
  // FormInTray and UnterdrueckenSek: InTray, chkSysTray, SuppressSeconds.
  void trayAndSuppression();
  // FormVisible.
  void formVisible();
  // Every group in start-up order, for a start without a command line.
  void all();

  const QString& formVisibleText() const { return formVisible_; }
  // A lock mode of 1 or more forces InTray and a hidden window; otherwise the window starts
  // hidden only with a tray icon and a FormVisible other than exactly "1".
  bool mainWindowStartsHidden(int lockMode);

private:
  void loadKeys(std::size_t first, std::size_t last); // numbers as in the key table, from 1
  void load(const SettingKey& key);
  QString read(const SettingKey& key) const;

  const SettingsStore& store_;
  Options& options_;
  StatusTables& tables_;
  PopupAppearance& popup_;
  QString formVisible_ = QStringLiteral("1");
};

} // namespace meldlux
