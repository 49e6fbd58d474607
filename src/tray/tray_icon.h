// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tray/tray_shell.h"

#include <QIcon>
#include <QPixmap>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

class QMenu;

namespace meldlux {

// The desktop's notification area through QSystemTrayIcon. Requests keep the shell's rules for
// the one icon; Qt's activation reasons come back as the mouse messages the tray understands; the
// menu is built from the tray's menu model each time it opens. Where the desktop has no
// notification area (offscreen, a bare X server, a panel that starts after us at log-in) the
// icon's state is kept, and the icon appears as soon as a notification area does.
class TrayIcon final : public QObject, public TrayShell {
  Q_OBJECT
public:
  explicit TrayIcon(QObject* parent = nullptr);
  ~TrayIcon() override;

  bool notify(TrayRequest request, const NotifyIconData& record) override;
  void openMenu(const TrayMenu& menu, MenuChoice choose) override;

  // Qt reports clicks only in summary: a click becomes button down and up, a double click the
  // double-click message and the closing button up, the context request right down and up.
  void onActivated(QSystemTrayIcon::ActivationReason reason);
  void onActivated(QSystemTrayIcon::ActivationReason reason, Qt::KeyboardModifiers modifiers);

  const ShellIconState& state() const { return state_; }
  bool isSystemTrayAvailable() const;
  QSystemTrayIcon& systemTrayIcon() { return *icon_; }
  // The menu opened last (null before the first one).
  QMenu* lastMenu() const { return menu_.get(); }

  // The icon's picture: a red alert light with a white stripe, 32 by 32.
  static QIcon picture();
  // While the alarm chain is broken: the same light, grey and crossed out.
  static QIcon offlinePicture();

private:
  void present();
  static QPixmap drawLight(const QColor& fill, const QColor& rim, bool crossed);

  ShellIconState state_;
  QSystemTrayIcon* icon_;
  // Qt tells nobody when a notification area appears, so a wanted icon asks now and then.
  QTimer trayWatch_;
  std::unique_ptr<QMenu> menu_;
  bool offline_ = false;
};

} // namespace meldlux
