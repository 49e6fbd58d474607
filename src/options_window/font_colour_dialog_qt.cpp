// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/font_colour_dialog_qt.h"

#include "display/popup_label_window.h"

#include <QColorDialog>
#include <QFontDialog>

namespace meldlux {

Colour colourOf(const QColor& colour) {
  return Colour(colour.red() + 256 * colour.green() + 65536 * colour.blue());
}

std::optional<PopupFont> QtFontColourDialog::showFont(const QString& title,
                                                      const PopupFont& initial) {
  QFont font(initial.name);
  if (initial.size > 0)
    font.setPointSizeF(initial.size);
  font.setBold(initial.bold);
  font.setItalic(initial.italic);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, nullptr, title);
  if (!ok)
    return std::nullopt;
  return PopupFont{chosen.family(), chosen.pointSizeF(), chosen.bold(), chosen.italic()};
}

std::optional<Colour> QtFontColourDialog::showColor(const QString& title, Colour initial) {
  const QColor chosen = QColorDialog::getColor(toQColor(initial), nullptr, title);
  if (!chosen.isValid())
    return std::nullopt;
  return colourOf(chosen);
}

} // namespace meldlux
