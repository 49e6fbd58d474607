// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/tray_icon.h"

#include "tray/tray_menu.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace meldlux {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), icon_(new QSystemTrayIcon(this)) {
  icon_->setIcon(picture());
  trayWatch_.setInterval(2000);
  connect(&trayWatch_, &QTimer::timeout, this, [this] { present(); });
  connect(icon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::isSystemTrayAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool TrayIcon::notify(TrayRequest request, const NotifyIconData& record) {
  if (!state_.apply(request, record))
    return false;
  present();
  return true;
}

void TrayIcon::present() {
  const bool offline = state_.icon() == NotifyIconData::kOfflineIcon;
  if (offline != offline_) {
    offline_ = offline;
    icon_->setIcon(offline ? offlinePicture() : picture());
  }
  icon_->setToolTip(state_.tip());
  // Without a notification area Qt would only complain; the state is kept for when one appears.
  const bool waiting = state_.shown() && !isSystemTrayAvailable();
  if (!waiting)
    icon_->setVisible(state_.shown());
  if (waiting && !trayWatch_.isActive())
    trayWatch_.start();
  else if (!waiting)
    trayWatch_.stop();
}

void TrayIcon::openMenu(const TrayMenu& menu, MenuChoice choose) {
  menu_ = std::make_unique<QMenu>();
  menu_->setObjectName(QStringLiteral("mPopupMenu"));
  int index = 0;
  for (const TrayMenu::Item& item : menu.entries()) {
    QAction* action = item.separator ? menu_->addSeparator() : menu_->addAction(item.caption);
    action->setEnabled(item.enabled);
    if (!item.separator)
      connect(action, &QAction::triggered, this, [choose, index] { choose(index); });
    ++index;
  }
  menu_->popup(QCursor::pos());
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
  onActivated(reason, QGuiApplication::queryKeyboardModifiers());
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason,
                           Qt::KeyboardModifiers modifiers) {
  switch (reason) {
  case QSystemTrayIcon::Trigger:
    deliverMouse(513, modifiers);
    deliverMouse(514, modifiers);
    break;
  case QSystemTrayIcon::DoubleClick:
    deliverMouse(515, modifiers);
    deliverMouse(514, modifiers);
    break;
  case QSystemTrayIcon::MiddleClick:
    deliverMouse(519, modifiers);
    deliverMouse(520, modifiers);
    break;
  case QSystemTrayIcon::Context:
    deliverMouse(516, modifiers);
    deliverMouse(517, modifiers);
    break;
  case QSystemTrayIcon::Unknown:
    deliverMouse(0, modifiers);
    break;
  }
}

QIcon TrayIcon::picture() { return QIcon(drawLight(QColor(220, 20, 20), QColor(120, 0, 0), false)); }

QIcon TrayIcon::offlinePicture() {
  return QIcon(drawLight(QColor(150, 150, 150), QColor(70, 70, 70), true));
}

QPixmap TrayIcon::drawLight(const QColor& fill, const QColor& rim, bool crossed) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // Dome of the light.
  QPainterPath dome;
  dome.moveTo(6, 24);
  dome.lineTo(6, 15);
  dome.arcTo(6, 4, 20, 22, 180, -180);
  dome.lineTo(26, 24);
  dome.closeSubpath();
  painter.setPen(QPen(rim, 1.5));
  painter.setBrush(fill);
  painter.drawPath(dome);
  // The white reflective stripe across it and the dark base.
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(7, 15, 18, 4));
  painter.setBrush(QColor(60, 60, 60));
  painter.drawRoundedRect(QRectF(3, 24, 26, 6), 2, 2);
  if (crossed) {
    // A black cross over it: seen at a glance, also by someone who does not tell red from grey.
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4, 4), QPointF(28, 28));
    painter.drawLine(QPointF(28, 4), QPointF(4, 28));
  }
  painter.end();
  return pixmap;
}

} // namespace meldlux
