// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/message_boxes.h"

#include <chrono>

namespace meldlux {

// The boxes as QMessageBox windows, modal, without a parent (start-up may run with every window
// hidden). A box nobody answers closes by itself after a while, as if "OK" was clicked: an
// unattended start (a station PC rebooting at night) must not wait for a click.
class QtMessageBoxes final : public MessageBoxes {
public:
  static constexpr std::chrono::milliseconds kUnattendedTimeout{120000};

  explicit QtMessageBoxes(std::chrono::milliseconds timeout = kUnattendedTimeout)
      : timeout_(timeout) {}
  // The timeout from MELDLUX_MESSAGE_BOX_TIMEOUT_MS (for tests), else kUnattendedTimeout.
  static std::chrono::milliseconds timeoutFromEnvironment();

  void show(const QString& title, const QString& text, Icon icon) override;

private:
  std::chrono::milliseconds timeout_;
};

} // namespace meldlux
