// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_german_texts.h"

#include <QCoreApplication>
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

} // namespace
} // namespace meldlux
