// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/text_metrics.h"

#include <algorithm>
#include <cmath>

namespace meldlux {

int designRowHeight(const LabelFont& font) {
  // Sizes come from the settings store: keep absurd ones inside what a window can show.
  const double size = std::clamp(std::isfinite(font.size) ? font.size : 9.75, 1.0, 500.0);
  return int(std::lround(240.0 * size / 9.75));
}

int FixedTextMetrics::rowHeight(const LabelFont& font) const { return designRowHeight(font); }

int FixedTextMetrics::textWidth(const LabelFont&, bool, const QString& caption) const {
  return int(std::min<qsizetype>(caption.size(), 100000)) * charWidth_;
}

} // namespace meldlux
