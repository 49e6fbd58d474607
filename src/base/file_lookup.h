// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QString>
#include <optional>

namespace meldlux {

// Finds a file by a name written for a file system that ignores letter case, with "\" or "/"
// between folders ("Settings\BOSList.wbr", "Orte.txt", a sound file's path). A relative name is
// taken below base. On a file system that minds case, each component is matched without regard
// to it; an exact match wins, otherwise the first in sorted order, so the choice does not
// depend on the directory's order. Nothing when there is no such file (a folder is no file).
std::optional<QString> findFileIgnoringCase(const QString& name,
                                            const QDir& base = QDir::current());

} // namespace meldlux
