// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shipped_sounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace meldlux {

QString shippedSoundFolder() {
  const QString relative = QStringLiteral("meldlux/sounds");
  if (QCoreApplication::instance()) {
    const QDir beside(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") +
                      relative);
    if (beside.exists())
      return beside.canonicalPath();
  }
  return QStandardPaths::locate(QStandardPaths::GenericDataLocation, relative,
                                QStandardPaths::LocateDirectory);
}

} // namespace meldlux
