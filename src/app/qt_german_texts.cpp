// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_german_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace meldlux {

std::unique_ptr<QTranslator> installQtGermanTexts() {
  auto translator = std::make_unique<QTranslator>();
  // Always German, whatever the desktop's language: the windows around Qt's dialogs are.
  if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                        QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator.get()))
    return nullptr;
  return translator;
}

} // namespace meldlux
