// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/popup_choosers.h"

#include "display/popup_fixture.h"
#include "options_window/fake_font_colour_dialog.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace meldlux {
namespace {

class PopupChoosersTest : public testing::PopupFixture {
protected:
  PopupChoosersTest() {
    popup.Form_Load();
    message(QStringLiteral("Florian Musterstadt 1/44-1  Status 2"));
    message(QStringLiteral("Florian Musterstadt 1/83-1  Status 3"));
  }

  // Every label the choosers touch, as a comparable snapshot.
  std::vector<Label> labels() const {
    std::vector<Label> all{popup.lblSprechwunsch(), popup.lblSpricht()};
    for (int i = 0; i < popup.lineCount(); ++i) {
      all.push_back(popup.lblZeit(i));
      all.push_back(popup.lblText(i));
    }
    return all;
  }

  testing::FakeFontColourDialog dialog;
  PopupChoosers choosers{dialog, popup, options};
};

const PopupFont kCourier{QStringLiteral("Courier New"), 19.5, false, true};

TEST_F(PopupChoosersTest, CancelledOrFailedDialogsChangeNothing) {
  const auto before = labels();
  const int height = popup.height();
  for (bool fail : {false, true}) {
    dialog.fail = fail;
    choosers.cmdMsgSchrift_Click();
    choosers.lblFarbe_Click();
  }
  EXPECT_EQ(dialog.opened, 4);
  EXPECT_EQ(labels(), before);
  EXPECT_EQ(popup.height(), height);
  EXPECT_EQ(popup.backColor(), 0);
  EXPECT_EQ(options.sampleBackColor(), 0);
  EXPECT_EQ(options.sampleForeColor(), 16777215);
}

TEST_F(PopupChoosersTest, FontDialogOpensWithTheFirstTimeLabelsFont) {
  popup.applyFont(PopupFont{QStringLiteral("Tahoma"), 12, false, true});
  popup.MarkNewestLine(); // line 0 bold: the dialog starts bold too
  choosers.cmdMsgSchrift_Click();
  EXPECT_EQ(dialog.title, QStringLiteral("Schriftart Auswählen"));
  EXPECT_EQ(dialog.initialFont.name, QStringLiteral("Tahoma"));
  EXPECT_DOUBLE_EQ(dialog.initialFont.size, 12);
  EXPECT_TRUE(dialog.initialFont.bold);
  EXPECT_TRUE(dialog.initialFont.italic);
}

TEST_F(PopupChoosersTest, ChosenFontReachesTheFourFirstLabelsInOrder) {
  dialog.font = kCourier;
  const LabelFont courier{kCourier.name, kCourier.size, kCourier.italic};
  // Note the moment each of the four labels first carries the new font.
  std::vector<std::string> order;
  auto look = [&] {
    const std::pair<const char*, const Label*> watched[] = {
        {"lblZeit0", &popup.lblZeit(0)},
        {"lblText0", &popup.lblText(0)},
        {"lblSprechwunsch", &popup.lblSprechwunsch()},
        {"lblSpricht", &popup.lblSpricht()}};
    for (const auto& [name, label] : watched)
      if (label->font == courier && std::find(order.begin(), order.end(), name) == order.end())
        order.push_back(name);
  };
  QObject::connect(&popup, &PopupModel::lineChanged, look);
  QObject::connect(&indicators, &Indicators::changed, look);

  choosers.cmdMsgSchrift_Click();
  EXPECT_EQ(order,
            (std::vector<std::string>{"lblZeit0", "lblText0", "lblSprechwunsch", "lblSpricht"}));
  EXPECT_FALSE(popup.lblText(0).bold);
  EXPECT_NE(popup.lblText(1).font, courier); // later lines follow at the next layout
  refresh();
  EXPECT_EQ(popup.lblText(1).font, courier);
}

TEST_F(PopupChoosersTest, VisiblePopupShrinksToOneRowOfTheNewFontAHiddenOneKeepsItsHeight) {
  message(QStringLiteral("Florian Musterstadt 2/11-1  Status 4"));
  options.setText(Text::txtMsgLines, QStringLiteral("3"));
  refresh();
  ASSERT_TRUE(popup.visible());
  ASSERT_EQ(popup.height(), 3 * kRow);
  dialog.font = kCourier;
  choosers.cmdMsgSchrift_Click();
  EXPECT_EQ(popup.lblSpricht().height, 2 * kRow); // 19.5 pt is twice the design size
  EXPECT_EQ(popup.height(), 2 * kRow);
  refresh();
  const int full = popup.height();
  EXPECT_GT(full, 2 * kRow); // the next layout sizes it to its lines again

  popup.setVisible(false);
  dialog.font = PopupFont{QStringLiteral("Tahoma"), 9.75, false, false};
  choosers.cmdMsgSchrift_Click();
  EXPECT_EQ(popup.lblSpricht().height, kRow);
  EXPECT_EQ(popup.height(), full);
}

TEST_F(PopupChoosersTest, ChosenColourGoesToPopupLabelsAndSample) {
  popup.applyBackColor(255);
  dialog.colour = 16777215;
  choosers.lblFarbe_Click();
  EXPECT_EQ(dialog.title, QStringLiteral("Hintergrundfarbe Auswählen"));
  EXPECT_EQ(dialog.initialColour, 255); // starts from the popup's colour
  EXPECT_EQ(popup.backColor(), 16777215);
  EXPECT_EQ(options.sampleBackColor(), 16777215);
  EXPECT_EQ(options.sampleForeColor(), 0); // white: black text
  for (const Label& label : labels())
    EXPECT_EQ(label.backColor, 16777215);
  EXPECT_EQ(popup.lblText(0).foreColor, 65280); // text colours stay the lines' own
}

} // namespace
} // namespace meldlux
