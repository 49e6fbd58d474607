// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/failure.h"
#include "options_window/font_colour_dialog.h"

namespace meldlux::testing {

// Dialog1 with the user's answer given in advance; remembers how it was opened.
class FakeFontColourDialog final : public FontColourDialog {
public:
  std::optional<PopupFont> showFont(const QString& title, const PopupFont& initial) override {
    initialFont = initial;
    open(title);
    return font;
  }
  std::optional<Colour> showColor(const QString& title, Colour initial) override {
    initialColour = initial;
    open(title);
    return colour;
  }

  std::optional<PopupFont> font; // nothing: Cancel
  std::optional<Colour> colour;  // nothing: Cancel
  bool fail = false;
  int opened = 0;
  QString title;
  PopupFont initialFont;
  Colour initialColour = -1;

private:
  void open(const QString& shownTitle) {
    ++opened;
    title = shownTitle;
    if (fail)
      throw Failure(QStringLiteral("Dialog nicht verfügbar"));
  }
};

} // namespace meldlux::testing
