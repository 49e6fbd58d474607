// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/message_boxes_qt.h"

#include <QMessageBox>

namespace meldlux {

void QtMessageBoxes::show(const QString& title, const QString& text, Icon icon) {
  QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
                  QMessageBox::Ok);
  box.exec();
}

} // namespace meldlux
