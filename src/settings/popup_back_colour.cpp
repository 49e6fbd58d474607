#include "settings/popup_back_colour.h"

#include "display/popup_appearance.h"
#include "settings/options.h"

namespace meldlux {

void applyPopupBackColour(PopupAppearance& popup, Options& options, Colour colour) {
  popup.applyBackColor(colour);
  options.setSampleColour(popup.backColor());
}

} // namespace meldlux
