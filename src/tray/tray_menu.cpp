// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/tray_menu.h"

namespace meldlux {

TrayMenu::TrayMenu()
    : items_{{
          {mAbout, QStringLiteral("&Info"), false, false},
          {mSep1, QString(), true, false},
          {mMaximize, QStringLiteral("&Maximieren"), false, false},
          {mRestore, QStringLiteral("&Einstellungen"), false, true},
          {mMinimize, QStringLiteral("&Verstecken"), false, true},
          {mSep2, QString(), true, true},
          {mExit, QStringLiteral("&Beenden"), false, true},
          {mSep3, QString(), true, true},
          {mBoard, QStringLiteral("&Fahrzeugstatus"), false, true},
          {mHistory, QStringLiteral("Ver&lauf"), false, true}, // V belongs to "&Verstecken"
          {mRules, QStringLiteral("Alarm&regeln"), false, true},
          {mSupervision, QStringLiteral("Überwachung …"), false, true},
      }} {}

void TrayMenu::setEnabledFrom(bool ownerVisible, OwnerWindow::State ownerState) {
  const bool away = !ownerVisible || ownerState == OwnerWindow::State::Minimized;
  items_.at(mRestore).enabled = away;
  items_.at(mMinimize).enabled = !away;
}

} // namespace meldlux
