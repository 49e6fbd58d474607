// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/colour.h"

#include <QString>

namespace meldlux {

struct LabelFont {
  QString name = QStringLiteral("Arial");
  double size = 9.75;
  bool italic = false;

  bool operator==(const LabelFont&) const = default;
};

// One label of the popup, as the window would hold it; positions and sizes in twips.
struct Label {
  QString caption;
  Colour foreColor = 0;
  Colour backColor = 0;
  bool bold = false;
  bool visible = true;
  LabelFont font;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 240;

  bool operator==(const Label&) const = default;
};

} // namespace meldlux
