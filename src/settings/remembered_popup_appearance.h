// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/popup_appearance.h"

namespace meldlux {

// Keeps the popup's font and background as they were loaded or chosen, for as long as no popup
// model takes them, so that they reach the store again at exit unchanged.
class RememberedPopupAppearance : public PopupAppearance {
public:
  void applyFont(const PopupFont& font) override { font_ = font; }
  PopupFont font() const override { return font_; }
  void applyBackColor(Colour colour) override { backColor_ = colour; }
  Colour backColor() const override { return backColor_; }

private:
  PopupFont font_;
  Colour backColor_ = 0;
};

} // namespace meldlux
