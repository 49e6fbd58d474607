// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/tray_shell.h"

namespace meldlux {

QString trayRequestName(TrayRequest request) {
  switch (request) {
  case TrayRequest::Add:
    return QStringLiteral("add");
  case TrayRequest::Modify:
    return QStringLiteral("modify");
  case TrayRequest::Delete:
    return QStringLiteral("delete");
  }
  return QString::number(int(request));
}

bool ShellIconState::apply(TrayRequest request, const NotifyIconData& record) {
  switch (request) {
  case TrayRequest::Add:
    if (shown_)
      return false;
    shown_ = true;
    tip_ = record.tipText();
    icon_ = record.hIcon;
    return true;
  case TrayRequest::Modify:
    if (!shown_)
      return false;
    tip_ = record.tipText();
    icon_ = record.hIcon;
    return true;
  case TrayRequest::Delete:
    if (!shown_)
      return false;
    shown_ = false;
    return true;
  }
  return false;
}

} // namespace meldlux
