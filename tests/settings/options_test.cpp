#include "settings/options.h"

#include "signal_recorder.h"

#include <gtest/gtest.h>

using namespace meldlux;

namespace {

QString typed(Options& options, Text box, const char* text) {
  options.setText(box, QString::fromUtf8(text));
  return options.text(box);
}

} // namespace

TEST(Options, TypedLinesAndTimeAreClamped) {
  Options options;
  EXPECT_EQ(typed(options, Text::txtMsgLines, "99"), u"30");
  EXPECT_EQ(typed(options, Text::txtMsgLines, "abc"), u"1");
  EXPECT_EQ(typed(options, Text::txtMsgLines, "2.5"), u"2.5"); // a fraction in range stays
  EXPECT_EQ(typed(options, Text::txtMsgTime, "100"), u"65");
  EXPECT_EQ(typed(options, Text::txtMsgTime, "-3"), u"0");
  EXPECT_EQ(typed(options, Text::txtMsgTime, "nie"), u"nie"); // reads as 0, which is in range
}

TEST(Options, ARuleChangeIsAnnouncedLikeAnyOther) {
  Options options;
  SignalRecorder<Text> changed(&options, &Options::textChanged);
  options.setText(Text::txtMsgLines, QStringLiteral("50"));
  EXPECT_EQ(changed.values, (std::vector<Text>{Text::txtMsgLines, Text::txtMsgLines}));
  options.setText(Text::txtMsgLines, QStringLiteral("30"));
  EXPECT_EQ(changed.count(), 2u); // same text: no change, no rule
}

TEST(Options, PercentageTakesADecimalCommaAsPoint) {
  Options options;
  SignalCounter width(&options, &Options::popupWidthPercentChanged);
  EXPECT_EQ(typed(options, Text::txtMsgBreite, "12,5"), u"12.5");
  EXPECT_FLOAT_EQ(options.PopupWidthPercent, 12.5f);
  EXPECT_GE(width.count, 1);
  EXPECT_EQ(typed(options, Text::txtMsgLinks, "3,25"), u"3.25");
  EXPECT_FLOAT_EQ(options.PopupLeftPercent, 3.25f);
  EXPECT_EQ(typed(options, Text::txtMsgLinks, "x"), u"x");
  EXPECT_FLOAT_EQ(options.PopupLeftPercent, 0.0f);
}

TEST(Options, PercentageBeyondSinglePrecisionKeepsThePopupSize) {
  Options options;
  options.setText(Text::txtMsgBreite, QStringLiteral("80"));
  options.setText(Text::txtMsgBreite, QStringLiteral("1e99"));
  EXPECT_FLOAT_EQ(options.PopupWidthPercent, 80.0f);
  options.setText(Text::txtMsgBreite, QStringLiteral("1e400"));
  EXPECT_FLOAT_EQ(options.PopupWidthPercent, 80.0f);
}

TEST(Options, KeepaliveRules) {
  Options options;
  EXPECT_EQ(typed(options, Text::txtKeepalive, ""), u"0");
  options.setText(Text::txtKeepalive, QStringLiteral("10"));
  EXPECT_EQ(options.text(Text::txtKeepalive), u"10"); // only leaving the box corrects it
  options.txtKeepalive_LostFocus();
  EXPECT_EQ(options.text(Text::txtKeepalive), u"30");
  options.setText(Text::txtKeepalive, QStringLiteral("90000"));
  options.txtKeepalive_LostFocus();
  EXPECT_EQ(options.text(Text::txtKeepalive), u"86400");
  options.setText(Text::txtKeepalive, QStringLiteral("-5"));
  options.txtKeepalive_LostFocus();
  EXPECT_EQ(options.text(Text::txtKeepalive), u"-5");
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
  options.setPasswordChar(QStringLiteral("xyz"));
  EXPECT_EQ(options.passwordChar(), u"x");
}

TEST(Options, SysTrayBoxCarriesInTrayAndAnnouncesTheClick) {
  Options options;
  SignalRecorder<Check> clicked(&options, &Options::clicked);
  options.setValue(Check::chkSysTray, 0);
  EXPECT_FALSE(options.InTray);
  EXPECT_EQ(clicked.values, std::vector<Check>{Check::chkSysTray});
  options.setValue(Check::chkSysTray, 0);
  EXPECT_EQ(clicked.count(), 1u);
  options.setValue(Check::chkSysTray, 5); // any number but 0 ticks
  EXPECT_TRUE(options.InTray);
  EXPECT_EQ(options.value(Check::chkSysTray), 1);
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
  EXPECT_EQ(Options::contrastTextColour(16777215), 0);        // white, 765
  EXPECT_EQ(Options::contrastTextColour(8421504), 16777215);  // grey, exactly 384
  EXPECT_EQ(Options::contrastTextColour(8421505), 0);         // 385
  EXPECT_EQ(Options::contrastTextColour(255 + 255 * 256), 0); // yellow, 510
  EXPECT_EQ(Options::contrastTextColour(0), 16777215);

  Options options;
  SignalCounter sample(&options, &Options::sampleColourChanged);
  options.setSampleColour(65535);
  EXPECT_EQ(options.sampleBackColor(), 65535);
  EXPECT_EQ(options.sampleForeColor(), 0);
  EXPECT_EQ(sample.count, 1);
}
