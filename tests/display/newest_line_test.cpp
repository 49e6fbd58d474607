// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/text_metrics_qt.h"
#include "popup_fixture.h"

namespace meldlux::testing {
namespace {

using Strip = std::pair<int, double>; // screen width in pixels, font size in points

// The strip measured with the fonts the window paints with, at a screen width and font size.
class NewestLine : public PopupRig<QtTextMetrics, ::testing::TestWithParam<Strip>> {
protected:
  NewestLine() : PopupRig(GetParam().first * 15, QtTextMetrics{}) {
    popup.applyFont(PopupFont{QStringLiteral("Arial"), GetParam().second, false, false});
    options.setText(Text::txtMsgLines, QStringLiteral("3"));
  }
  int textRight() const {
    const Label& l = popup.lblText(0);
    return l.left + metrics.textWidth(l.font, l.bold, l.caption);
  }
  // A POCSAG alarm that reaches nearly to the strip's right edge.
  QString longAlarm() const {
    QString text = QStringLiteral("1234567 Brand Wohnhaus Personen in Gefahr");
    const QString more = QStringLiteral(" Hauptstr. 12");
    const Label& l = popup.lblText(0);
    while (l.left + metrics.textWidth(l.font, true, text + more) < popup.width() - 200)
      text += more;
    return text;
  }
};

TEST_P(NewestLine, IndicatorsTakeARowOfTheirOwnWhileLineZeroWouldRunUnderThem) {
  message(QStringLiteral("Florian Musterstadt 1/46-1  3 Einsatzauftrag übernommen"));
  const int row = popup.height();
  message(longAlarm());
  indicators.setCaption(Indicator::Sprechwunsch, QStringLiteral("12:00:00 SW: Florian 1/46-1"));
  indicators.setCaption(Indicator::Spricht, QStringLiteral("12:00:05 Spricht: Florian 2/83-1"));
  refresh();
  EXPECT_LE(textRight(), popup.width());
  for (const Label* ind : {&popup.lblSprechwunsch(), &popup.lblSpricht()}) {
    const bool beside = ind->left >= textRight() || ind->left + ind->width <= popup.lblText(0).left;
    EXPECT_TRUE(beside || ind->top >= row) << "covers line 0: " << ind->caption.toStdString();
    EXPECT_LE(ind->top + ind->height, popup.lblText(1).top);
  }
  EXPECT_EQ(popup.height(), 3 * row) << "two lines and the indicators' row";

  // Gone with the captions, and a short newest line leaves them on the first row.
  indicators.setCaption(Indicator::Sprechwunsch, QString());
  indicators.setCaption(Indicator::Spricht, QString());
  EXPECT_EQ(std::make_pair(popup.lblText(1).top, popup.height()), std::make_pair(row, 2 * row));
  indicators.setCaption(Indicator::Spricht, QStringLiteral("12:00:05 Spricht: Florian 2/83-1"));
  message(QStringLiteral("Kurz"));
  EXPECT_EQ(std::make_pair(popup.lblSpricht().top, popup.height()), std::make_pair(0, 3 * row));
}

INSTANTIATE_TEST_SUITE_P(WidthsAndFonts, NewestLine,
                         ::testing::Values(Strip{1280, 9.75}, Strip{1280, 16}, Strip{1920, 9.75},
                                           Strip{1920, 16}));

} // namespace
} // namespace meldlux::testing
