// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/text_metrics.h"

#include <QFontMetricsF>
#include <optional>

namespace meldlux {

// Measures with the fonts the popup window paints with. The design font keeps its design row
// height of 240 twips; larger fonts get what they need.
class QtTextMetrics final : public TextMetrics {
public:
  int rowHeight(const LabelFont& font) const override;
  int textWidth(const LabelFont& font, bool bold, const QString& caption) const override;

private:
  const QFontMetricsF& metrics(const LabelFont& font, bool bold) const;

  // Captions change far more often than fonts: keep the last font's metrics.
  mutable std::optional<std::pair<std::pair<LabelFont, bool>, QFontMetricsF>> cache_;
};

// The font a label paints with.
QFont toQFont(const LabelFont& font, bool bold);

} // namespace meldlux
