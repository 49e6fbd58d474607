// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/popup_back_colour.h"

#include "state/options.h"
#include "state/popup_appearance.h"

namespace meldlux {

void applyPopupBackColour(PopupAppearance& popup, Options& options, Colour colour) {
  popup.applyBackColor(colour);
  options.setSampleColour(popup.backColor());
}

} // namespace meldlux
