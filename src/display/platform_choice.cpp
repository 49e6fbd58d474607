// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/platform_choice.h"

#include <QtGlobal>

namespace meldlux {

bool shouldUseXcb(const QString& sessionType, const QString& waylandDisplay,
                  const QString& qpaPlatform, const QStringList& arguments) {
  const bool wayland =
      sessionType.compare(u"wayland", Qt::CaseInsensitive) == 0 || !waylandDisplay.isEmpty();
  if (!wayland || !qpaPlatform.isEmpty())
    return false;
  for (const QString& arg : arguments) {
    if (arg == u"-platform" || arg == u"--platform" || arg.startsWith(u"-platform=") ||
        arg.startsWith(u"--platform="))
      return false;
  }
  return true;
}

void chooseXcbOnWayland(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  if (shouldUseXcb(qEnvironmentVariable("XDG_SESSION_TYPE"),
                   qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("QT_QPA_PLATFORM"),
                   arguments))
    qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace meldlux
