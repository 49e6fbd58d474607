// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/failure.h"
#include "options_window/font_colour_dialog.h"

namespace meldlux::testing {

// Dialog1 with the user's answer given in advance; remembers how it was opened.
class FakeFontColourDialog final : public FontColourDialog {
public:
  std::optional<PopupFont> showFont(const QString& title, const PopupFont& initial) override {
    ++opened;
    this->title = title;
    initialFont = initial;
    if (fail)
      throw Failure(QStringLiteral("Dialog nicht verfügbar"));
    return font;
  }
  std::optional<Colour> showColor(const QString& title, Colour initial) override {
    ++opened;
    this->title = title;
    initialColour = initial;
    if (fail)
      throw Failure(QStringLiteral("Dialog nicht verfügbar"));
    return colour;
  }

  std::optional<PopupFont> font; // nothing: Cancel
  std::optional<Colour> colour;  // nothing: Cancel
  bool fail = false;
  int opened = 0;
  QString title;
  PopupFont initialFont;
  Colour initialColour = -1;
};

} // namespace meldlux::testing
