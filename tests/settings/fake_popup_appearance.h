// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/popup_appearance.h"

// Records what the settings give the popup.
class FakePopupAppearance : public meldlux::PopupAppearance {
public:
  void applyFont(const meldlux::PopupFont& font) override {
    font_ = font;
    ++fontCalls;
  }
  meldlux::PopupFont font() const override { return font_; }
  void applyBackColor(meldlux::Colour colour) override {
    back_ = colour;
    ++backCalls;
  }
  meldlux::Colour backColor() const override { return back_; }

  int fontCalls = 0;
  int backCalls = 0;

private:
  meldlux::PopupFont font_;
  meldlux::Colour back_ = 12345; // anything but the default, so a missed load shows
};
