// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/since_text.h"

#include "base/formats.h"

#include <cmath>

namespace meldlux {

QString sinceText(OleDate since, OleDate now) {
  if (since == 0)
    return {};
  // Whole minutes, from whole seconds: 59.9 s is not yet a minute.
  const qint64 seconds = qint64(std::floor((now - since) * kSecondsPerDay + 1e-6));
  const qint64 minutes = seconds / 60;
  if (minutes < 1)
    return QStringLiteral("gerade eben");
  if (minutes < 60)
    return QStringLiteral("vor %1 min").arg(minutes);
  if (minutes < 24 * 60) {
    const qint64 rest = minutes % 60;
    return rest == 0 ? QStringLiteral("vor %1 h").arg(minutes / 60)
                     : QStringLiteral("vor %1 h %2 min").arg(minutes / 60).arg(rest);
  }
  return QStringLiteral("seit ") + formatDateTime(since).left(14);
}

} // namespace meldlux
