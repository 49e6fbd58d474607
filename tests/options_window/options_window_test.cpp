// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/main_window_fixture.h"

#include <climits>
#include <vector>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace meldlux {
namespace {

using OptionsWindowTest = testing::MainWindowFixture;

// The controls by their names, in the order of the Text and Check enums.
const char* const kTextBoxes[] = {"txtSrv",      "txtSrvPort",     "txtPW",          "txtKeepalive",
                                  "txtMsgOnly",  "txtMsgTime",     "txtMsgLines",    "txtMsgBreite",
                                  "txtMsgLinks", "txtReClickHide", "txtSndAlarm",    "txtSndFzg",
                                  "txtSndText",  "txtSndSA",       "txtSndSAKennung"};
const char* const kCheckBoxes[] = {"chkAuto",        "chkMsgAktiv", "chkMsgVorne", "chkHideRIC",
                                   "chkReClickHide", "chkUnbekFME", "chkUnbekFMS", "chkSW",
                                   "chkES",          "chkSndAlarm", "chkSndFzg",   "chkSndText",
                                   "chkSndSA",       "chkSysTray"};
static_assert(std::size(kTextBoxes) == std::size_t(Text::Count));
static_assert(std::size(kCheckBoxes) == std::size_t(Check::Count));

TEST_F(OptionsWindowTest, EveryOptionHasItsControlBoundBothWays) {
  for (int i = 0; i < int(Text::Count); ++i) {
    auto* box = find<QLineEdit>(kTextBoxes[i]);
    ASSERT_NE(box, nullptr);
    options().setText(Text(i), QStringLiteral("12"));
    EXPECT_EQ(box->text(), u"12") << kTextBoxes[i];
    retype(box, QStringLiteral("7"));
    EXPECT_EQ(options().text(Text(i)), u"7") << kTextBoxes[i];
  }
  for (int i = 0; i < int(Check::Count); ++i) {
    auto* box = find<QCheckBox>(kCheckBoxes[i]);
    ASSERT_NE(box, nullptr);
    const bool before = options().checked(Check(i));
    EXPECT_EQ(box->isChecked(), before) << kCheckBoxes[i];
    box->click();
    EXPECT_EQ(options().checked(Check(i)), !before) << kCheckBoxes[i];
    options().setChecked(Check(i), before);
    EXPECT_EQ(box->isChecked(), before) << kCheckBoxes[i];
  }
  options().OptPosition_Click(1);
  EXPECT_TRUE(find<QRadioButton>("OptPosition1")->isChecked());
  EXPECT_FALSE(find<QRadioButton>("OptPosition0")->isChecked());
  find<QRadioButton>("OptPosition0")->click();
  EXPECT_EQ(options().PopupPosition, 0);
  EXPECT_EQ(options().selectedPosition(), 0);

  auto* sample = find<QLabel>("lblFarbe");
  EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(0, 0, 0));
  options().setSampleColour(16777215);
  EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(255, 255, 255));
  EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST_F(OptionsWindowTest, ClicksRunTheRulesOfOtherSubsystems) {
  find<QCheckBox>("chkSW")->click();
  EXPECT_FALSE(app_.popupModel().lblSprechwunsch().visible);
}

TEST_F(OptionsWindowTest, FramesAndRowsAreArranged) {
  window_.show(); // offscreen; the frames lay themselves out on their first show
  QCoreApplication::processEvents();
  std::map<QString, QGroupBox*> frames;
  for (auto* frame : window_.findChildren<QGroupBox*>())
    frames[frame->title()] = frame;
  for (const char* title : {"Server", "Sound", "Telegrammleiste", "Status"})
    ASSERT_TRUE(frames.count(QString::fromUtf8(title))) << title;
  QGroupBox* const frame = frames["Telegrammleiste"];
  const QRect server = frames["Server"]->geometry(), sound = frames["Sound"]->geometry(),
              bar = frame->geometry(), status = frames["Status"]->geometry();
  EXPECT_EQ(sound.left(), server.left());
  EXPECT_GT(sound.top(), server.bottom());
  EXPECT_GT(bar.left(), server.right());
  EXPECT_EQ(bar.top(), server.top());
  EXPECT_GT(status.top(), std::max(sound.bottom(), bar.bottom()));
  EXPECT_GE(status.width(), bar.right() - server.left()); // across both columns

  // The popup's options: eight rows, top to bottom, each read from left to right.
  const std::vector<std::vector<const char*>> rows = {
      {"chkMsgAktiv", "chkMsgVorne", "txtMsgTime", "Label8", "txtMsgLines"},
      {"OptPosition0", "OptPosition1", "Label3", "txtMsgBreite", "Label4", "txtMsgLinks"},
      {"Label5", "txtMsgOnly"},
      {"Label6", "chkUnbekFME", "chkUnbekFMS"},
      {"chkHideRIC"},
      {"chkReClickHide", "txtReClickHide"},
      {"chkSW", "chkES"},
      {"cmdMsgSchrift", "lblFarbe", "chkSysTray"}};
  int lastBottom = -1;
  for (const auto& row : rows) {
    int top = INT_MAX, bottom = -1, lastRight = -1;
    for (const char* name : row) {
      auto* widget = find<QWidget>(name);
      ASSERT_NE(widget, nullptr);
      EXPECT_EQ(widget->parentWidget(), frame) << name;
      const QRect r = widget->geometry();
      EXPECT_GT(r.left(), lastRight) << name;       // beside the one before, not under it
      EXPECT_LT(r.right(), frame->width()) << name; // and not cut off by the frame
      lastRight = r.right();
      top = std::min(top, r.top());
      bottom = std::max(bottom, r.bottom());
    }
    for (const char* name : row) { // one row: every control spans the row's middle
      const QRect r = find<QWidget>(name)->geometry();
      EXPECT_LE(r.top(), (top + bottom) / 2) << name;
      EXPECT_GE(r.bottom(), (top + bottom) / 2) << name;
    }
    EXPECT_GT(top, lastBottom) << row.front(); // below the row before
    lastBottom = bottom;
  }
}

TEST_F(OptionsWindowTest, TypedTextShowsTheRulesCorrectionAtOnce) {
  auto* lines = find<QLineEdit>("txtMsgLines");
  retype(lines, QStringLiteral("99"));
  EXPECT_EQ(lines->text(), u"30");
  EXPECT_EQ(options().text(Text::txtMsgLines), u"30");
}

TEST_F(OptionsWindowTest, DecimalCommaTurnsIntoAPointUnderTheCaret) {
  auto* width = find<QLineEdit>("txtMsgBreite");
  retype(width, QStringLiteral("125"));
  width->setCursorPosition(2);
  type(width, QStringLiteral(","));
  EXPECT_EQ(width->text(), u"12.5");
  EXPECT_EQ(width->cursorPosition(), 3);
  EXPECT_EQ(app_.popupModel().width(), 2400); // an eighth of 19200 twips, at once

  auto* left = find<QLineEdit>("txtMsgLinks");
  retype(left, QStringLiteral("12,5"));
  EXPECT_EQ(left->text(), u"12.5");
  EXPECT_EQ(left->cursorPosition(), 4);
  EXPECT_EQ(app_.popupModel().left(), 2400);
}

TEST_F(OptionsWindowTest, NegativeWidthGivesNoWidthAtAll) {
  retype(find<QLineEdit>("txtMsgBreite"), QStringLiteral("-10"));
  EXPECT_EQ(app_.popupModel().width(), 0);
  app_.popupModel().RefreshLines();
  EXPECT_EQ(app_.popupModel().width(), 0);
  retype(find<QLineEdit>("txtMsgBreite"), QStringLiteral("50"));
  EXPECT_EQ(app_.popupModel().width(), 9600);
}

TEST_F(OptionsWindowTest, ChoosersOpenFromTheirControls) {
  dialog_->font = PopupFont{QStringLiteral("Courier New"), 12, true, false};
  find<QPushButton>("cmdMsgSchrift")->click();
  EXPECT_EQ(app_.popupModel().lblSpricht().font.name, u"Courier New");
  dialog_->colour = 16777215;
  click(find<QLabel>("lblFarbe"));
  EXPECT_EQ(app_.popupModel().backColor(), 16777215);
  EXPECT_EQ(options().sampleBackColor(), 16777215);
  EXPECT_EQ(dialog_->opened, 2);
}

} // namespace
} // namespace meldlux
