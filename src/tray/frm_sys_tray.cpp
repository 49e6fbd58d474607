// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/frm_sys_tray.h"

#include "base/event_log.h"

namespace meldlux {

namespace {

constexpr std::uint32_t kFlashIcon = 1; // the icon picture of the hidden Flash1 control

// The mouse messages the shell passes on, by code 512 (move) to 521 (middle double click).
QString mouseMessageName(int code) {
  switch (code) {
  case 512:
    return QStringLiteral("MOUSEMOVE");
  case 514:
    return QStringLiteral("LBUTTONUP");
  case 515:
    return QStringLiteral("LBUTTONDBLCLK");
  case 516:
    return QStringLiteral("RBUTTONDOWN");
  case 517:
    return QStringLiteral("RBUTTONUP");
  case 518:
    return QStringLiteral("RBUTTONDBLCLK");
  case 519:
    return QStringLiteral("MBUTTONDOWN");
  case 520:
    return QStringLiteral("MBUTTONUP");
  case 521:
    return QStringLiteral("MBUTTONDBLCLK");
  default:
    return QStringLiteral("OTHER....: ") + QString::number(code);
  }
}

} // namespace

FrmSysTray::FrmSysTray(TrayShell& shell, EventLog& log, const std::int16_t& lockMode,
                       QObject* parent)
    : QObject(parent), shell_(shell), log_(log), lockMode_(lockMode) {
  shell_.setMouseReceiver(
      [this](int code, Qt::KeyboardModifiers modifiers) { MouseCallback(code, modifiers); });
}

void FrmSysTray::Form_Load(const QString& executableName) {
  record_.hIcon = kFlashIcon;
  tooltip_ = executableName;
  notifyShell(TrayRequest::Add);
}

void FrmSysTray::MeShow() { notifyShell(TrayRequest::Add); }
void FrmSysTray::MeHide() { notifyShell(TrayRequest::Delete); }
void FrmSysTray::MeModify() { notifyShell(TrayRequest::Modify); }

void FrmSysTray::setWarning(const QString& text) {
  if (text == warning_)
    return;
  warning_ = text;
  MeModify();
}

void FrmSysTray::notifyShell(TrayRequest request) {
  record_.hIcon = warning_.isEmpty() ? kFlashIcon : NotifyIconData::kOfflineIcon;
  record_.setTip(warning_.isEmpty() ? tooltip_ : warning_);
  log_.write(u"tray", {trayRequestName(request), record_.tipText()});
  shell_.notify(request, record_); // a request the shell refuses changes nothing, as intended
}

void FrmSysTray::raiseClick(const QString& what) {
  log_.write(u"click", {what});
  Q_EMIT Click(what);
}

void FrmSysTray::MouseCallback(int code, Qt::KeyboardModifiers modifiers) {
  switch (code) {
  case 513: {
    // Keypad and group-switch flags are no keys the user holds.
    const auto held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::NoModifier)
      raiseClick(QStringLiteral("LBUTTONDOWN"));
    else if (held == Qt::ShiftModifier)
      raiseClick(QStringLiteral("LBUTTONDOWNSHIFT"));
    break;
  }
  case 515:
    raiseClick(mouseMessageName(code));
    mRestore_Click();
    break;
  case 517:
    if (fsys_)
      menu_.setEnabledFrom(fsys_->isVisible(), fsys_->windowState());
    raiseClick(mouseMessageName(code));
    shell_.openMenu(menu_, [this](int index) { menuChosen(index); });
    break;
  default:
    raiseClick(mouseMessageName(code));
    break;
  }
}

void FrmSysTray::FSys_Resize() {
  if (fsys_ && fsys_->windowState() != OwnerWindow::State::Minimized)
    remembered_ = fsys_->windowState();
}

void FrmSysTray::FSys_Unload() { notifyShell(TrayRequest::Delete); }

void FrmSysTray::mRestore_Click() {
  if (lockMode_ != 0 || !fsys_)
    return;
  if (fsys_->windowState() == OwnerWindow::State::Minimized || !fsys_->isVisible()) {
    fsys_->setWindowState(remembered_);
    fsys_->show();
    fsys_->bringToForeground();
  }
}

void FrmSysTray::mMinimize_Click() {
  if (fsys_)
    fsys_->setWindowState(OwnerWindow::State::Minimized);
}

void FrmSysTray::mExit_Click() {
  if (lockMode_ < 2 && fsys_)
    fsys_->unload();
}

void FrmSysTray::menuChosen(int index) {
  if (!TrayMenu::isEntry(index))
    return;
  const TrayMenu::Item& item = menu_.item(TrayMenu::Entry(index));
  if (!item.enabled || item.separator)
    return;
  switch (item.entry) {
  case TrayMenu::mRestore:
    mRestore_Click();
    break;
  case TrayMenu::mMinimize:
    mMinimize_Click();
    break;
  case TrayMenu::mExit:
    mExit_Click();
    break;
  case TrayMenu::mBoard:
    Q_EMIT boardChosen();
    break;
  case TrayMenu::mHistory:
    Q_EMIT historyWanted();
    break;
  case TrayMenu::mRules:
    Q_EMIT rulesWanted();
    break;
  case TrayMenu::mSupervision:
    Q_EMIT supervisionWanted();
    break;
  default:
    break; // the switched-off entries
  }
}

} // namespace meldlux
