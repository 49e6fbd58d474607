// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/text_metrics_qt.h"
#include "popup_fixture.h"

namespace meldlux::testing {
namespace {

struct Strip {
  int pixels;
  double points;
};

// The strip as the program lays it out, measured with the fonts the window paints with.
class NewestLine : public PopupRig<QtTextMetrics, ::testing::TestWithParam<Strip>> {
protected:
  NewestLine() : PopupRig(GetParam().pixels * 15, QtTextMetrics{}) {
    popup.applyFont(PopupFont{QStringLiteral("Arial"), GetParam().points, false, false});
  }
  int textRight(int line) const {
    const Label& l = popup.lblText(line);
    return l.left + metrics.textWidth(l.font, l.bold, l.caption);
  }
  // A POCSAG alarm that fills the strip up to its right edge.
  QString longAlarm() const {
    QString text = QStringLiteral("1234567 Brand Wohnhaus Personen in Gefahr");
    const QString more = QStringLiteral(" Hauptstr. 12");
    const Label& l = popup.lblText(0);
    while (l.left + metrics.textWidth(l.font, true, text + more) < popup.width() - 200)
      text += more;
    return text;
  }
  void expectEveryCharacterOfLineZeroReadable() {
    const Label& text = popup.lblText(0);
    EXPECT_LE(textRight(0), popup.width());
    for (const Label* ind : {&popup.lblSprechwunsch(), &popup.lblSpricht()}) {
      const bool beside = ind->left >= textRight(0) || ind->left + ind->width <= text.left;
      const bool below = ind->top >= text.top + text.height;
      EXPECT_TRUE(beside || below) << ind->caption.toStdString();
      EXPECT_LE(ind->top + ind->height, popup.height()) << "the indicators lie inside the strip";
      EXPECT_LE(ind->top + ind->height, popup.lblText(1).top) << "line 1 lies below them";
    }
  }
};

TEST_P(NewestLine, IndicatorsTakeARowOfTheirOwnWhileLineZeroWouldRunUnderThem) {
  options.setText(Text::txtMsgLines, QStringLiteral("3"));
  message(QStringLiteral("Florian Musterstadt 1/46-1  3 Einsatzauftrag übernommen"));
  const int oneRow = popup.height();
  message(longAlarm());
  indicators.setCaption(Indicator::Sprechwunsch, QStringLiteral("12:00:00 SW: Florian 1/46-1"));
  indicators.setCaption(Indicator::Spricht, QStringLiteral("12:00:05 Spricht: Florian 2/83-1"));
  refresh();
  expectEveryCharacterOfLineZeroReadable();
  EXPECT_EQ(popup.height(), 3 * oneRow) << "two lines and the indicators' row";

  // Gone with the captions: the Parts' strip again.
  indicators.setCaption(Indicator::Sprechwunsch, QString());
  indicators.setCaption(Indicator::Spricht, QString());
  popup.LayoutPopup();
  EXPECT_EQ(popup.lblSpricht().top, 0);
  EXPECT_EQ(popup.lblText(1).top, oneRow);
  EXPECT_EQ(popup.height(), 2 * oneRow);

  // A short newest line leaves them on the first row.
  indicators.setCaption(Indicator::Spricht, QStringLiteral("12:00:05 Spricht: Florian 2/83-1"));
  message(QStringLiteral("Kurz"));
  EXPECT_EQ(popup.lblSpricht().top, 0);
  EXPECT_EQ(popup.height(), 3 * oneRow);
}

INSTANTIATE_TEST_SUITE_P(WidthsAndFonts, NewestLine,
                         ::testing::Values(Strip{1280, 9.75}, Strip{1280, 16}, Strip{1920, 9.75},
                                           Strip{1920, 16}),
                         [](const auto& info) {
                           return std::to_string(info.param.pixels) + "px" +
                                  (info.param.points > 10 ? "16pt" : "9_75pt");
                         });

} // namespace
} // namespace meldlux::testing
