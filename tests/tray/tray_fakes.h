// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tray/owner_window.h"
#include "tray/tray_menu.h"
#include "tray/tray_shell.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace meldlux {

// One journal for the owner's calls, the shell's menu and the raised clicks, so tests can check
// the order in which they happened.
using Journal = QStringList;

class FakeShell : public TrayShell {
public:
  explicit FakeShell(Journal* journal = nullptr) : journal_(journal) {}

  bool notify(TrayRequest request, const NotifyIconData& record) override {
    requests.push_back(request);
    return state.apply(request, record);
  }
  void openMenu(const TrayMenu& menu, MenuChoice choose) override {
    if (journal_)
      journal_->append(QStringLiteral("menu"));
    opened = menu;
    choice = std::move(choose);
  }
  void mouse(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    deliverMouse(code, modifiers);
  }

  ShellIconState state;
  std::vector<TrayRequest> requests;
  std::optional<TrayMenu> opened;
  MenuChoice choice;

private:
  Journal* journal_;
};

class FakeOwner : public OwnerWindow {
public:
  explicit FakeOwner(Journal* journal = nullptr) : journal_(journal) {}

  bool isVisible() const override { return visible; }
  State windowState() const override { return state; }
  void setWindowState(State s) override {
    note(QStringLiteral("state %1").arg(int(s)));
    state = s;
  }
  void show() override {
    note(QStringLiteral("show"));
    visible = true;
  }
  void hide() override {
    note(QStringLiteral("hide"));
    visible = false;
  }
  void bringToForeground() override { note(QStringLiteral("foreground")); }
  void unload() override {
    note(QStringLiteral("unload"));
    ++unloads;
  }

  bool visible = true;
  State state = State::Normal;
  int unloads = 0;

private:
  void note(const QString& what) {
    if (journal_)
      journal_->append(what);
  }
  Journal* journal_;
};

} // namespace meldlux
