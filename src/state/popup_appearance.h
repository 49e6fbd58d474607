// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"

#include <QString>

namespace meldlux {

struct PopupFont {
  QString name = QStringLiteral("Arial");
  double size = 9.75;
  bool bold = false;
  bool italic = false;
};

// The popup's font and background as the settings load and save them: the font goes to the first
// time and text labels and both indicators, the background to the window and every label.
class PopupAppearance {
public:
  virtual ~PopupAppearance() = default;
  virtual void applyFont(const PopupFont& font) = 0;
  virtual PopupFont font() const = 0; // as the first text label holds it
  virtual void applyBackColor(Colour colour) = 0;
  virtual Colour backColor() const = 0;
};

} // namespace meldlux
