// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_german_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

TEST(QtGermanTexts, QtsOwnDialogTextsAreGermanWhileInstalled) {
  const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
  {
    const auto translator = installQtGermanTexts();
    ASSERT_NE(translator, nullptr) << "Qt's translations (qt6-translations-l10n) are missing";
    EXPECT_EQ(cancel(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "&Basic colors"),
              QStringLiteral("Grundfar&ben"));
  }
  EXPECT_EQ(cancel(), QStringLiteral("Cancel"));
}

// Where Qt was built elsewhere (Windows), its translations lie beside the program: looked for
// there first, in "translations".
TEST(QtGermanTexts, TakesTheTranslationsBesideTheProgramFirst) {
  QTemporaryDir program;
  ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("translations")));
  const QString beside = program.filePath(QStringLiteral("translations/qtbase_de.qm"));
  ASSERT_TRUE(QFile::copy(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                              QStringLiteral("/qtbase_de.qm"),
                          beside));
  const auto translator = installQtGermanTexts(program.path());
  ASSERT_NE(translator, nullptr);
  EXPECT_EQ(QDir::cleanPath(translator->filePath()), QDir::cleanPath(beside));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
}

} // namespace
} // namespace meldlux
