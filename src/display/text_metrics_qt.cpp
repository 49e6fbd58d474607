// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/text_metrics_qt.h"

#include "display/screen_qt.h"

#include <QFont>
#include <algorithm>
#include <cmath>

namespace meldlux {

QFont toQFont(const LabelFont& font, bool bold) {
  QFont f(font.name);
  const double size = std::isfinite(font.size) ? std::clamp(font.size, 1.0, 500.0) : 9.75;
  f.setPointSizeF(size);
  f.setBold(bold);
  f.setItalic(font.italic);
  return f;
}

const QFontMetricsF& QtTextMetrics::metrics(const LabelFont& font, bool bold) const {
  const auto key = std::make_pair(font, bold);
  if (!cache_ || cache_->first != key)
    cache_.emplace(key, QFontMetricsF(toQFont(font, bold)));
  return cache_->second;
}

int QtTextMetrics::rowHeight(const LabelFont& font) const {
  const double measured = std::ceil(metrics(font, false).height()) * QtScreen::twipsPerPixel();
  return std::max(designRowHeight(font), int(std::lround(measured)));
}

int QtTextMetrics::textWidth(const LabelFont& font, bool bold, const QString& caption) const {
  // One pixel to spare on each side, as a label's text never touches its border.
  const double pixels = std::ceil(metrics(font, bold).horizontalAdvance(caption)) + 2;
  return int(std::lround(std::min(pixels, 1.0e6) * QtScreen::twipsPerPixel()));
}

} // namespace meldlux
