// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace meldlux {

// On a Wayland session a client can neither place its own window nor keep it above others, so
// the strip could not work there. Unless the user picked a Qt platform himself (QT_QPA_PLATFORM
// or -platform), the program runs on xcb (XWayland) instead.
bool shouldUseXcb(const QString& sessionType, const QString& waylandDisplay,
                  const QString& qpaPlatform, const QStringList& arguments);

// Reads the environment and the command line and sets QT_QPA_PLATFORM=xcb when shouldUseXcb
// says so. Call before the application object is constructed.
void chooseXcbOnWayland(int argc, char** argv);

} // namespace meldlux
