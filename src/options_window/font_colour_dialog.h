// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"
#include "state/popup_appearance.h"

#include <QString>
#include <optional>

namespace meldlux {

// Dialog1, the common dialog both choosers open. Cancel gives nothing, so does a dialog that
// cannot be shown; colours go both ways as the settings hold them (R + 256 G + 65536 B).
class FontColourDialog {
public:
  virtual ~FontColourDialog() = default;
  virtual std::optional<PopupFont> showFont(const QString& title, const PopupFont& initial) = 0;
  virtual std::optional<Colour> showColor(const QString& title, Colour initial) = 0;
};

// Where no dialog can be shown (tests, tools): every choice is cancelled.
class NoFontColourDialog final : public FontColourDialog {
public:
  std::optional<PopupFont> showFont(const QString&, const PopupFont&) override {
    return std::nullopt;
  }
  std::optional<Colour> showColor(const QString&, Colour) override { return std::nullopt; }
};

} // namespace meldlux
