// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "options_window/font_colour_dialog.h"

#include <QColor>

namespace meldlux {

// A Qt colour in the settings' layout, R + 256 G + 65536 B (the other way: toQColor).
Colour colourOf(const QColor& colour);

// Dialog1 on the desktop: Qt's own font and colour dialogs, modal.
class QtFontColourDialog final : public FontColourDialog {
public:
  std::optional<PopupFont> showFont(const QString& title, const PopupFont& initial) override;
  std::optional<Colour> showColor(const QString& title, Colour initial) override;
};

} // namespace meldlux
