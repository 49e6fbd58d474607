// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/font_colour_dialog_qt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

// Answers the next modal dialog as a user would, remembering its title.
class DialogUser {
public:
  template <typename Dialog> void answer(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [this, act] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      if (!dialog) {
        ADD_FAILURE() << "no dialog open";
        return;
      }
      title = dialog->windowTitle();
      act(*dialog);
    });
  }
  QString title;
};

TEST(QtFontColourDialog, ColourDialogStartsFromTheGivenColourAndGivesTheChosenOne) {
  QtFontColourDialog port;
  DialogUser user;
  QColor shown;
  user.answer<QColorDialog>([&](QColorDialog& dialog) {
    shown = dialog.currentColor();
    dialog.setCurrentColor(QColor(128, 128, 128));
    dialog.accept();
  });
  EXPECT_EQ(port.showColor(QStringLiteral("Hintergrundfarbe Auswählen"), 255 + 65536 * 16),
            std::optional<Colour>(8421504));
  EXPECT_EQ(user.title, u"Hintergrundfarbe Auswählen");
  EXPECT_EQ(shown, QColor(255, 0, 16)); // red in the lowest byte
}

TEST(QtFontColourDialog, CancelGivesNothing) {
  QtFontColourDialog port;
  DialogUser user;
  user.answer<QColorDialog>([](QColorDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(port.showColor(QStringLiteral("Hintergrundfarbe Auswählen"), 0).has_value());
  user.answer<QFontDialog>([](QFontDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(port.showFont(QStringLiteral("Schriftart Auswählen"), PopupFont{}).has_value());
  EXPECT_EQ(user.title, u"Schriftart Auswählen");
}

TEST(QtFontColourDialog, FontDialogStartsFromTheGivenFontAndGivesTheChosenOne) {
  // Families this machine has, so the dialog can show the given style.
  const QString family = QStringLiteral("DejaVu Sans");
  if (!QFontDatabase::hasFamily(family) ||
      !QFontDatabase::hasFamily(QStringLiteral("DejaVu Serif")))
    GTEST_SKIP() << "the DejaVu fonts are not installed";
  QtFontColourDialog port;
  DialogUser user;
  QFont shown;
  QFont accepted;
  user.answer<QFontDialog>([&](QFontDialog& dialog) {
    shown = dialog.currentFont();
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(14);
    dialog.setCurrentFont(font);
    accepted = dialog.currentFont(); // bold and italic are whatever style the dialog matched
    dialog.accept();
  });
  const auto chosen =
      port.showFont(QStringLiteral("Schriftart Auswählen"), PopupFont{family, 12, true, false});
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(shown.family(), family);
  EXPECT_TRUE(shown.bold());
  EXPECT_DOUBLE_EQ(shown.pointSizeF(), 12);
  EXPECT_EQ(chosen->name, u"DejaVu Serif");
  EXPECT_DOUBLE_EQ(chosen->size, 14);
  EXPECT_EQ(chosen->bold, accepted.bold());
  EXPECT_EQ(chosen->italic, accepted.italic());
}

} // namespace
} // namespace meldlux
