// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/popup_choosers.h"

#include "base/failure.h"
#include "display/popup_model.h"
#include "options_window/font_colour_dialog.h"
#include "settings/popup_back_colour.h"

namespace meldlux {

PopupChoosers::PopupChoosers(FontColourDialog& dialog, PopupModel& popup, Options& options)
    : dialog_(dialog), popup_(popup), options_(options) {}

void PopupChoosers::cmdMsgSchrift_Click() {
  // The dialog starts from the first time label, bold included.
  const Label& zeit = popup_.lblZeit(0);
  const PopupFont initial{zeit.font.name, zeit.font.size, zeit.bold, zeit.font.italic};
  std::optional<PopupFont> chosen;
  try {
    chosen = dialog_.showFont(QStringLiteral("Schriftart Auswählen"), initial);
  } catch (const Failure&) {
    return;
  }
  if (!chosen)
    return;
  // lblZeit(0), lblText(0), lblSprechwunsch, lblSpricht; later lines copy it at the next layout.
  popup_.applyFont(*chosen);
  // One row of the new font until the next layout sizes the popup to its lines again.
  if (popup_.visible())
    popup_.setHeight(popup_.lblSpricht().height);
}

void PopupChoosers::lblFarbe_Click() {
  std::optional<Colour> chosen;
  try {
    chosen = dialog_.showColor(QStringLiteral("Hintergrundfarbe Auswählen"), popup_.backColor());
  } catch (const Failure&) {
    return;
  }
  if (!chosen)
    return;
  // The popup, its indicators and every loaded line, then the sample with readable text.
  applyPopupBackColour(popup_, options_, *chosen);
}

} // namespace meldlux
