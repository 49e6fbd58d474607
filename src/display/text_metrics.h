// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"

#include <QString>

namespace meldlux {

// Sizes of label text in twips: the row height a font needs and the width a caption needs.
class TextMetrics {
public:
  virtual ~TextMetrics() = default;
  virtual int rowHeight(const LabelFont& font) const = 0;
  virtual int textWidth(const LabelFont& font, bool bold, const QString& caption) const = 0;
};

// Row height 240 twips at the design font (9.75 pt), in proportion to the size otherwise, and a
// fixed width per character (0: no caption ever needs more than its label's design width).
class FixedTextMetrics final : public TextMetrics {
public:
  explicit FixedTextMetrics(int charWidth = 0) : charWidth_(charWidth) {}
  int rowHeight(const LabelFont& font) const override;
  int textWidth(const LabelFont& font, bool bold, const QString& caption) const override;

private:
  int charWidth_;
};

// The row height of the design font, the least any font gets.
int designRowHeight(const LabelFont& font);

} // namespace meldlux
