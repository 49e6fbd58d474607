// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/screen.h"

namespace meldlux {

// The primary screen, converted at 1440 twips per logical inch.
class QtScreen final : public Screen {
public:
  int width() const override;
  int height() const override;
  // Twips per logical pixel of the primary screen (15 at 96 dpi).
  static double twipsPerPixel();
};

} // namespace meldlux
