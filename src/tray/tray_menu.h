// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tray/owner_window.h"

#include <QString>
#include <array>
#include <cstddef>

namespace meldlux {

// mPopupMenu: the tray icon's context menu. Above the working entries sit an about entry, a
// separator and a maximise entry that are switched off for good; they show greyed. Entries of
// our own come after the original ones, so those keep their places.
class TrayMenu {
public:
  // Entries of our own follow mExit, so that the original entries keep their indexes.
  enum Entry : std::size_t {
    mAbout, mSep1, mMaximize, mRestore, mMinimize, mSep2, mExit,
    mSep3,  // keeps "&Beenden" apart from ours, so a slip does not end the program
    mBoard, // "Fahrzeugstatus"
    mHistory,
    mRules, // "Alarmregeln"
    mSupervision, // "Überwachung …"
    Count
  };

  struct Item {
    Entry entry;
    QString caption; // empty for a separator
    bool separator;
    bool enabled;
  };

  TrayMenu();

  const std::array<Item, Count>& entries() const { return items_; }
  const Item& item(Entry entry) const { return items_.at(entry); }
  // Bounds-checked lookup of an entry index coming back from the shell.
  static bool isEntry(int index) { return index >= 0 && std::size_t(index) < Count; }

  // Before the menu opens: "&Einstellungen" while the owner is hidden or minimised,
  // "&Verstecken" while it is visible and normal or maximised.
  void setEnabledFrom(bool ownerVisible, OwnerWindow::State ownerState);

private:
  std::array<Item, Count> items_;
};

} // namespace meldlux
