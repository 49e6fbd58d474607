// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

// The folder of the alert sounds shipped with the program: <prefix>/share/meldlux/sounds beside
// the program's <prefix>/bin (an installed package, or the build tree), else the first in the
// system's data folders; empty when there is none.
QString shippedSoundFolder();

} // namespace meldlux
