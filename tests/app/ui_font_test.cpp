// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui_font.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

// What Wine without its own fonts lists: the host's fonts, a math font first.
const QStringList kWineWithoutFonts{QStringLiteral("DejaVu Math TeX Gyre"),
                                    QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif"),
                                    QStringLiteral("Liberation Sans"),
                                    QStringLiteral("MS Shell Dlg")};

TEST(UiFont, AMissingDialogFontGivesAUsualSansNeverTheFirstListed) {
  EXPECT_EQ(readableUiFamily(QStringLiteral("Tahoma"), kWineWithoutFonts),
            QStringLiteral("Liberation Sans"));
  EXPECT_EQ(readableUiFamily(QStringLiteral("tahoma"), {QStringLiteral("DejaVu Math TeX Gyre"),
                                                        QStringLiteral("dejavu sans")}),
            QStringLiteral("dejavu sans"));
  EXPECT_EQ(readableUiFamily(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Math TeX Gyre")}),
            QString());
}

TEST(UiFont, AnInstalledDialogFontStays) {
  EXPECT_EQ(readableUiFamily(QStringLiteral("Tahoma"),
                             kWineWithoutFonts + QStringList{QStringLiteral("TAHOMA")}),
            QString());
}

} // namespace
} // namespace meldlux
