// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"

namespace meldlux {

class Options;
class PopupAppearance;

// A new popup background, from the stored setting or the colour chooser: the popup and every
// label on it take the colour, and the options window's colour sample shows what the popup now
// has, with a text colour that stays readable on it.
void applyPopupBackColour(PopupAppearance& popup, Options& options, Colour colour);

} // namespace meldlux
