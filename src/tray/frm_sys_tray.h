// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tray/notify_icon_data.h"
#include "tray/owner_window.h"
#include "tray/tray_menu.h"
#include "tray/tray_shell.h"

#include <QObject>
#include <QString>
#include <cstdint>

namespace meldlux {

class EventLog;

// The tray window: it owns the notification-area icon and its record, turns the icon's mouse
// messages into Click texts for its owner, and hosts the menu that shows, minimises or unloads
// the owner (FSys, the main window). It never shows a window of its own.
class FrmSysTray : public QObject {
  Q_OBJECT
public:
  // lockMode is read at each menu action; it is fixed once start-up has read the command line.
  FrmSysTray(TrayShell& shell, EventLog& log, const std::int16_t& lockMode,
             QObject* parent = nullptr);

  // Loading: the icon picture and the executable's name as the tip, then the icon is added.
  void Form_Load(const QString& executableName);

  void setFSys(OwnerWindow* owner) { fsys_ = owner; }
  OwnerWindow* FSys() const { return fsys_; }

  // Stored only; the icon shows it after the next add or modify request.
  void setTooltip(const QString& text) { tooltip_ = text; }
  const QString& Tooltip() const { return tooltip_; }

  void MeShow();
  void MeHide();
  void MeModify();

  // While the alarm chain is broken the icon shows its offline picture and the warning as its tip
  // (the summary waits in Tooltip() meanwhile); an empty text brings both back. Modifies the icon.
  void setWarning(const QString& text);
  const QString& warning() const { return warning_; }

  // A mouse message on the icon (512 to 521, anything else is reported as unknown), with the
  // keyboard modifiers held at that moment.
  void MouseCallback(int code, Qt::KeyboardModifiers modifiers);

  // The owner's window events.
  void FSys_Resize();
  void FSys_Unload();

  // The menu entries.
  void mRestore_Click();
  void mMinimize_Click();
  void mExit_Click();
  // An entry chosen in the opened menu, by its index; disabled entries and separators do nothing.
  void menuChosen(int index);

  const TrayMenu& mPopupMenu() const { return menu_; }
  const NotifyIconData& record() const { return record_; }
  OwnerWindow::State rememberedState() const { return remembered_; }

Q_SIGNALS:
  void Click(const QString& ClickWhat);
  // "Fahrzeugstatus" was chosen: the board's window is to come up.
  void boardChosen();
  // "Ver&lauf" was chosen: the program opens its history window.
  void historyWanted();
  // "Alarm&regeln" was chosen: the alarm rules' window is to come up.
  void rulesWanted();
  // "Überwachung …" was chosen: the watch's settings are to come up.
  void supervisionWanted();

private:
  void notifyShell(TrayRequest request);
  void raiseClick(const QString& what);

  TrayShell& shell_;
  EventLog& log_;
  const std::int16_t& lockMode_;
  OwnerWindow* fsys_ = nullptr;
  NotifyIconData record_;
  QString tooltip_;
  QString warning_;
  TrayMenu menu_;
  OwnerWindow::State remembered_ = OwnerWindow::State::Normal;
};

} // namespace meldlux
