// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui_font.h"

namespace meldlux {

QString readableUiFamily(const QString& dialogFamily, const QStringList& installed) {
  if (installed.contains(dialogFamily, Qt::CaseInsensitive))
    return {};
  // Windows' own dialog fonts first, then the metric twins of Arial and the common Linux sans
  // (what Wine on Linux sees).
  static const char* const kSans[] = {"Segoe UI", "Tahoma",          "Microsoft Sans Serif",
                                      "Arial",    "Liberation Sans", "DejaVu Sans",
                                      "Noto Sans"};
  for (const char* family : kSans)
    for (const QString& name : installed)
      if (name.compare(QLatin1String(family), Qt::CaseInsensitive) == 0)
        return name;
  return {};
}

} // namespace meldlux
