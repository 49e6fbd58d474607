// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/message_boxes_qt.h"

#include <QMessageBox>
#include <QTimer>

namespace meldlux {

std::chrono::milliseconds QtMessageBoxes::timeoutFromEnvironment() {
  bool ok = false;
  const int ms = qEnvironmentVariableIntValue("MELDLUX_MESSAGE_BOX_TIMEOUT_MS", &ok);
  return ok && ms > 0 ? std::chrono::milliseconds(ms) : kUnattendedTimeout;
}

void QtMessageBoxes::show(const QString& title, const QString& text, Icon icon) {
  QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
                  QMessageBox::Ok);
  QTimer::singleShot(timeout_, &box, [&box] { box.done(QMessageBox::Ok); });
  box.exec();
}

} // namespace meldlux
