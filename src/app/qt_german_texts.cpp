// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_german_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace meldlux {

std::unique_ptr<QTranslator> installQtGermanTexts(const QString& programFolder) {
  auto translator = std::make_unique<QTranslator>();
  const QString besideProgram =
      (programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder) +
      QStringLiteral("/translations");
  // Always German, whatever the desktop's language: the windows around Qt's dialogs are.
  const QLocale german(QLocale::German, QLocale::Germany);
  for (const QString& folder : {besideProgram, QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
    if (translator->load(german, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
      return QCoreApplication::installTranslator(translator.get()) ? std::move(translator)
                                                                   : nullptr;
  return nullptr;
}

} // namespace meldlux
