// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/message_boxes.h"

namespace meldlux {

// The boxes as QMessageBox windows, modal, without a parent (start-up may run with every window
// hidden).
class QtMessageBoxes final : public MessageBoxes {
public:
  void show(const QString& title, const QString& text, Icon icon) override;
};

} // namespace meldlux
