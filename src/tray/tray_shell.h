// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tray/notify_icon_data.h"

#include <QString>
#include <Qt>
#include <functional>

namespace meldlux {

class TrayMenu;

// The shell's request codes for the icon.
enum class TrayRequest { Add = 0, Modify = 1, Delete = 2 };

// "add", "modify", "delete": the names the event log uses.
QString trayRequestName(TrayRequest request);

// The notification area as far as the tray sees it: it takes add, modify and delete requests
// with the icon's record, reports mouse activity on the icon as mouse message codes (512 to 521)
// with the keyboard modifiers held at that moment, and opens the tray's menu.
class TrayShell {
public:
  using MouseReceiver = std::function<void(int code, Qt::KeyboardModifiers modifiers)>;
  using MenuChoice = std::function<void(int entry)>;

  virtual ~TrayShell() = default;

  // Shell_NotifyIcon. Gives whether the request changed anything; nobody has to look.
  virtual bool notify(TrayRequest request, const NotifyIconData& record) = 0;
  // Opens the menu at the mouse position; a chosen entry comes back through choose with its index
  // in menu.entries().
  virtual void openMenu(const TrayMenu& menu, MenuChoice choose) = 0;

  // The tray registers itself once, to get the icon's mouse messages.
  void setMouseReceiver(MouseReceiver receiver) { receiver_ = std::move(receiver); }

protected:
  void deliverMouse(int code, Qt::KeyboardModifiers modifiers) {
    if (receiver_)
      receiver_(code, modifiers);
  }

private:
  MouseReceiver receiver_;
};

// How the shell keeps the one icon: adding it while it is shown, or changing or removing it while
// it is not, has no effect.
class ShellIconState {
public:
  bool apply(TrayRequest request, const NotifyIconData& record);

  bool shown() const { return shown_; }
  const QString& tip() const { return tip_; }
  // The record's picture: NotifyIconData::kOfflineIcon, or the usual one.
  std::uint32_t icon() const { return icon_; }

private:
  bool shown_ = false;
  QString tip_;
  std::uint32_t icon_ = 0;
};

// A shell without a screen: it keeps the icon's state and opens no menu. The program's stand-in
// when no desktop shell is given.
class HeadlessTrayShell : public TrayShell {
public:
  bool notify(TrayRequest request, const NotifyIconData& record) override {
    return state_.apply(request, record);
  }
  void openMenu(const TrayMenu&, MenuChoice) override {}

  const ShellIconState& state() const { return state_; }

private:
  ShellIconState state_;
};

} // namespace meldlux
