// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/fixed_text.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace meldlux {

// The record the shell gets for the one notification-area icon, in its first, 88-byte layout:
// size, window, icon id, flags, callback message, icon handle (32 bits each), then the tip as 64
// bytes of Windows-1252. The tip keeps at most 63 characters, a NUL and blanks up to 64.
struct NotifyIconData {
  static constexpr std::uint32_t kSize = 88;
  static constexpr std::uint32_t kIconId = 1;
  static constexpr std::uint32_t kFlags = 7;             // message, icon and tip are valid
  static constexpr std::uint32_t kCallbackMessage = 512; // the mouse-move message
  static constexpr int kTipChars = 63;
  // hIcon of the picture that says the alarm chain is broken (the usual one is 1).
  static constexpr std::uint32_t kOfflineIcon = 2;

  NotifyIconData() { setTip(QString()); }

  std::uint32_t cbSize = kSize;
  std::uint32_t hWnd = 0;
  std::uint32_t uID = kIconId;
  std::uint32_t uFlags = kFlags;
  std::uint32_t uCallbackMessage = kCallbackMessage;
  std::uint32_t hIcon = 0;
  FixedText<64> szTip;

  // Cuts the text to 63 characters and closes it with a NUL; the field pads the rest with blanks.
  void setTip(const QString& text);
  // What the shell shows: the tip up to its NUL, after the round trip through Windows-1252.
  QString tipText() const;
  // The record as the shell reads it, little-endian, 88 bytes.
  QByteArray bytes() const;
};

} // namespace meldlux
