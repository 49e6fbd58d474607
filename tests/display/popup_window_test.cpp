// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/popup_window.h"
#include "popup_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <functional>

namespace meldlux::testing {
namespace {

// A press, or a release when button is NoButton, in the widget's corner.
void mouse(QWidget* widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) {
  const QPointF at(2, 2);
  QMouseEvent event(button == Qt::NoButton ? QEvent::MouseButtonRelease : QEvent::MouseButtonPress,
                    at, widget->mapToGlobal(at), button == Qt::NoButton ? Qt::LeftButton : button,
                    button, modifiers);
  QCoreApplication::sendEvent(widget, &event);
}

// Lets pending layout, expose and paint events through: 50 ms, and with a condition up to 2 s
// until it holds, as a loaded machine may paint late.
void settle(const std::function<bool()>& until = {}) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 50 || (until && !until() && waited.elapsed() < 2000))
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class Window : public PopupFixture {
protected:
  PopupWindow window{popup, 15.0};
};

TEST_F(Window, IsAFramelessToolStripThatNeverTakesTheFocus) {
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint)); // only SetTopMost puts it on top
  EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_FALSE(window.isVisible());

  message(QStringLiteral("Eins")); // shown with "Aktiv" and "Im Vordergrund" ticked
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  options.setChecked(Check::chkMsgVorne, false);
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window.isVisible()); // changing the band keeps it shown
  popup.Timer1_Timer();
  EXPECT_FALSE(window.isVisible());
}

TEST_F(Window, LabelsSitWhereTheModelSaysInPixels) {
  set(Text::txtMsgLines, "2");
  set(Text::txtMsgBreite, "50");
  set(Text::txtMsgLinks, "10");
  messages(2);
  ASSERT_EQ(window.lineWidgetCount(), 2);
  // 15 twips a pixel: 50 % of 19200 twips from 10 % is 640 px from 128 px; two rows of 16 px.
  EXPECT_EQ(window.geometry(), QRect(128, 0, 640, 32));
  EXPECT_EQ(window.zeitLabel(1)->geometry(), QRect(4, 16, 26, 16));
  EXPECT_EQ(window.textLabel(1)->geometry(), QRect(37, 16, 169, 16)); // 550 twips = 36.7 px
  EXPECT_EQ(window.textLabel(0)->label().caption, "M1");
  EXPECT_TRUE(window.textLabel(0)->font().bold());
  // 100 twips from the right edge after the resize: left 8795 twips = 586 px, 47 px wide.
  EXPECT_EQ(window.indicatorLabel(Indicator::Spricht)->geometry(), QRect(586, 0, 47, 16));
  options.setChecked(Check::chkES, false);
  EXPECT_FALSE(window.indicatorLabel(Indicator::Spricht)->isVisibleTo(&window));
}

TEST_F(Window, PressesOnTextLabelsReachThePressRule) {
  set(Text::txtMsgLines, "1");
  messages(2);
  mouse(window.textLabel(0), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(popup.PopupExpanded(), 1);
  EXPECT_EQ(window.height(), 32);
  mouse(window.textLabel(0), Qt::NoButton);
  EXPECT_EQ(popup.PopupExpanded(), 0);
  EXPECT_EQ(window.height(), 16);

  mouse(window.textLabel(0), Qt::RightButton);
  EXPECT_FALSE(popup.visible());
  EXPECT_FALSE(window.isVisible());
  EXPECT_GT(popup.HiddenUntil, clock.now());
}

TEST_F(Window, BackgroundPressAndTimeLabelClickHide) {
  message(QStringLiteral("Eins"));
  mouse(&window, Qt::LeftButton, Qt::AltModifier);
  EXPECT_FALSE(popup.visible());
  popup.ShowPopup();
  ASSERT_TRUE(popup.visible());
  mouse(window.zeitLabel(0), Qt::LeftButton);
  EXPECT_TRUE(popup.visible()); // a time label reacts to the click, not the press
  mouse(window.zeitLabel(0), Qt::NoButton);
  EXPECT_FALSE(popup.visible());
}

TEST_F(Window, CtrlPressHidesAndCollapsesOnTextAndBackground) {
  set(Text::txtMsgLines, "1");
  messages(2);
  for (QWidget* target : std::initializer_list<QWidget*>{window.textLabel(0), &window}) {
    SCOPED_TRACE(target == &window ? "background" : "text label");
    popup.ShowPopup();
    mouse(target, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(popup.PopupExpanded(), 1);
    mouse(target, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(popup.PopupExpanded(), 0);
    EXPECT_EQ(popup.height(), kRow);
    EXPECT_EQ(popup.HiddenUntil, 0);
  }
}

TEST_F(Window, IdleTicksCostNoRepaint) {
  set(Text::txtMsgLines, "3");
  messages(3);
  // The first tick after a resizing layout moves the indicators from 100 to 60 twips off the
  // edge; from then on nothing changes.
  cleanup.TimerCleanup_Timer();
  settle([&] { return window.paintCount() > 0; });
  const int before = window.paintCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 10; ++i) {
    tick(1);
    settle();
  }
  EXPECT_EQ(window.paintCount(), before);
  message(QStringLiteral("Neu"));
  settle([&] { return window.paintCount() > before; });
  EXPECT_GT(window.paintCount(), before);
}

} // namespace
} // namespace meldlux::testing
