// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/options.h"

#include "support/signal_recorder.h"

#include <gtest/gtest.h>

using namespace meldlux;

TEST(Options, TypedTextsFollowTheirBoxesRules) {
  struct Case {
    Text box;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {{Text::txtMsgLines, "99", "30"},      {Text::txtMsgLines, "31", "30"},
                        {Text::txtMsgLines, "0", "1"},        {Text::txtMsgLines, "abc", "1"},
                        {Text::txtMsgLines, "2.5", "2.5"}, // a fraction in range stays
                        {Text::txtMsgTime, "100", "65"},      {Text::txtMsgTime, "-3", "0"},
                        {Text::txtMsgTime, "nie", "nie"}, // reads as 0, which is in range
                        {Text::txtKeepalive, "", "0"},        {Text::txtKeepalive, "aus", "0"},
                        {Text::txtKeepalive, "10", "10"}, // only leaving the box corrects it
                        {Text::txtMsgBreite, "12,5", "12.5"}, {Text::txtMsgLinks, "3,25", "3.25"},
                        {Text::txtMsgLinks, "x", "x"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Options options;
    options.setText(c.box, QString::fromUtf8(c.typed));
    EXPECT_EQ(options.text(c.box), QString::fromUtf8(c.shown));
  }
}

TEST(Options, ARuleChangeIsAnnouncedLikeAnyOther) {
  Options options;
  SignalRecorder<Text> changed(&options, &Options::textChanged);
  options.setText(Text::txtMsgLines, QStringLiteral("50"));
  EXPECT_EQ(changed.values, (std::vector<Text>{Text::txtMsgLines, Text::txtMsgLines}));
  options.setText(Text::txtMsgLines, QStringLiteral("30"));
  EXPECT_EQ(changed.count(), 2u); // same text: no change, no rule
}

TEST(Options, PercentagesFollowTheirTextsUnlessBeyondSinglePrecision) {
  Options options;
  SignalCounter width(&options, &Options::popupWidthPercentChanged);
  options.setText(Text::txtMsgBreite, QStringLiteral("12,5"));
  EXPECT_FLOAT_EQ(options.PopupWidthPercent, 12.5f);
  EXPECT_GE(width.count, 1);
  options.setText(Text::txtMsgLinks, QStringLiteral("3,25"));
  EXPECT_FLOAT_EQ(options.PopupLeftPercent, 3.25f);
  options.setText(Text::txtMsgLinks, QStringLiteral("x"));
  EXPECT_FLOAT_EQ(options.PopupLeftPercent, 0.0f);
  // Too large for the popup's size: it keeps the one it has.
  options.setText(Text::txtMsgBreite, QStringLiteral("80"));
  options.setText(Text::txtMsgBreite, QStringLiteral("1e99"));
  EXPECT_FLOAT_EQ(options.PopupWidthPercent, 80.0f);
  options.setText(Text::txtMsgBreite, QStringLiteral("1e400"));
  EXPECT_FLOAT_EQ(options.PopupWidthPercent, 80.0f);
}

TEST(Options, LeavingTheKeepaliveBoxCorrectsShortAndLongTimes) {
  Options options;
  for (const auto& [typed, corrected] : {std::pair{"10", "30"}, {"90000", "86400"}, {"-5", "-5"}}) {
    options.setText(Text::txtKeepalive, QString::fromLatin1(typed));
    options.txtKeepalive_LostFocus();
    EXPECT_EQ(options.text(Text::txtKeepalive), QString::fromLatin1(corrected)) << typed;
  }
}

TEST(Options, PasswordMaskToggles) {
  Options options;
  EXPECT_EQ(options.passwordChar(), u"");
  options.txtPW_DblClick();
  EXPECT_EQ(options.passwordChar(), u"*");
  options.txtPW_DblClick();
  EXPECT_EQ(options.passwordChar(), u"");
  options.setPasswordChar(QStringLiteral("#"));
  options.txtPW_DblClick(); // any mask other than "*" becomes "*"
  EXPECT_EQ(options.passwordChar(), u"*");
  // The first character of a longer text, a whole one even where it takes two UTF-16 units:
  // half of one is no text and could not be saved.
  const std::pair<const char16_t*, const char16_t*> masks[] = {{u"xyz", u"x"},
                                                               {u"\U0001F600x", u"\U0001F600"},
                                                               {u"\U0001F600", u"\U0001F600"},
                                                               {u"\u00E4\u00F6", u"\u00E4"}};
  for (const auto& [stored, mask] : masks) {
    options.setPasswordChar(QString::fromUtf16(stored));
    EXPECT_EQ(options.passwordChar(), QString::fromUtf16(mask));
  }
}

TEST(Options, SysTrayBoxCarriesInTrayAndAnnouncesTheClick) {
  Options options;
  SignalRecorder<Check> clicked(&options, &Options::clicked);
  options.setValue(Check::chkSysTray, 0);
  options.setValue(Check::chkSysTray, 0);
  EXPECT_FALSE(options.InTray);
  EXPECT_EQ(clicked.values, std::vector<Check>{Check::chkSysTray}); // once: the second is no change
  options.setValue(Check::chkSysTray, 5);                           // any number but 0 ticks
  EXPECT_TRUE(options.InTray);
  EXPECT_TRUE(options.checked(Check::chkSysTray));
  EXPECT_EQ(options.value(Check::chkSysTray), 5); // and is kept as it was given
  options.setValue(Check::chkSysTray, 1);         // another value: a click
  EXPECT_EQ(clicked.count(), 3u);
}

TEST(Options, PositionButtonsSetPopupPosition) {
  Options options;
  options.OptPosition_Click(1);
  EXPECT_EQ(options.PopupPosition, 1);
  options.OptPosition_Click(7);
  EXPECT_EQ(options.selectedPosition(), 0);
  EXPECT_EQ(options.PopupPosition, 0);
}

TEST(Options, ColourSampleTextIsBlackOnlyAboveByteSum384) {
  // White 765, grey exactly 384, 385, yellow 510, black.
  const std::pair<Colour, Colour> cases[] = {
      {16777215, 0}, {8421504, 16777215}, {8421505, 0}, {255 + 255 * 256, 0}, {0, 16777215}};
  for (const auto& [back, text] : cases)
    EXPECT_EQ(Options::contrastTextColour(back), text) << back;

  Options options;
  SignalCounter sample(&options, &Options::sampleColourChanged);
  options.setSampleColour(65535);
  EXPECT_EQ(options.sampleBackColor(), 65535);
  EXPECT_EQ(options.sampleForeColor(), 0);
  EXPECT_EQ(sample.count, 1);
}
