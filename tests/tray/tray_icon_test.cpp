// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/tray_icon.h"

#include "base/event_log.h"
#include "tray/frm_sys_tray.h"
#include "tray_fakes.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

struct Received {
  int code;
  Qt::KeyboardModifiers modifiers;
  bool operator==(const Received&) const = default;
};

class TrayIconTest : public ::testing::Test {
protected:
  TrayIconTest() {
    icon.setMouseReceiver([this](int code, Qt::KeyboardModifiers modifiers) {
      received.push_back({code, modifiers});
    });
  }

  TrayIcon icon;
  std::vector<Received> received;
};

TEST_F(TrayIconTest, PictureIsThirtyTwoSquareAndNotBlank) {
  const QImage image = TrayIcon::picture().pixmap(32, 32).toImage();
  ASSERT_EQ(image.size(), QSize(32, 32));
  EXPECT_EQ(image.pixelColor(16, 12).red(), 220); // the red dome
  EXPECT_EQ(image.pixelColor(16, 17), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
}

TEST_F(TrayIconTest, KeepsTheShellsRulesAndTheTipWithoutANotificationArea) {
  NotifyIconData record;
  record.setTip(QStringLiteral("FMS Meldlux"));
  EXPECT_TRUE(icon.notify(TrayRequest::Add, record));
  EXPECT_FALSE(icon.notify(TrayRequest::Add, record));
  EXPECT_TRUE(icon.state().shown());
  EXPECT_EQ(icon.systemTrayIcon().toolTip(), u"FMS Meldlux");
  // Offscreen there is no notification area: nothing is shown, nothing breaks.
  EXPECT_EQ(icon.systemTrayIcon().isVisible(), icon.isSystemTrayAvailable());

  record.setTip(QStringLiteral("12:00:00 RTW 1"));
  EXPECT_TRUE(icon.notify(TrayRequest::Modify, record));
  EXPECT_EQ(icon.systemTrayIcon().toolTip(), u"12:00:00 RTW 1");
  EXPECT_TRUE(icon.notify(TrayRequest::Delete, record));
  EXPECT_FALSE(icon.systemTrayIcon().isVisible());
  EXPECT_FALSE(icon.notify(TrayRequest::Modify, record));
}

TEST_F(TrayIconTest, ActivationsBecomeTheMouseMessages) {
  icon.onActivated(QSystemTrayIcon::Trigger, Qt::ShiftModifier);
  icon.onActivated(QSystemTrayIcon::DoubleClick, Qt::NoModifier);
  icon.onActivated(QSystemTrayIcon::MiddleClick, Qt::NoModifier);
  icon.onActivated(QSystemTrayIcon::Context, Qt::ControlModifier);
  icon.onActivated(QSystemTrayIcon::Unknown, Qt::NoModifier);
  const std::vector<Received> expected{
      {513, Qt::ShiftModifier},   {514, Qt::ShiftModifier},   {515, Qt::NoModifier},
      {514, Qt::NoModifier},      {519, Qt::NoModifier},      {520, Qt::NoModifier},
      {516, Qt::ControlModifier}, {517, Qt::ControlModifier}, {0, Qt::NoModifier}};
  EXPECT_EQ(received, expected);
}

TEST_F(TrayIconTest, MenuShowsTheModelsEntriesAndReportsTheChoice) {
  TrayMenu menu;
  menu.setEnabledFrom(true, OwnerWindow::State::Normal);
  std::vector<int> chosen;
  icon.openMenu(menu, [&chosen](int index) { chosen.push_back(index); });
  ASSERT_NE(icon.lastMenu(), nullptr);
  const QList<QAction*> actions = icon.lastMenu()->actions();
  ASSERT_EQ(actions.size(), qsizetype(TrayMenu::Count));
  for (int i = 0; i < int(TrayMenu::Count); ++i) {
    const TrayMenu::Item& item = menu.entries()[std::size_t(i)];
    EXPECT_EQ(actions.at(i)->text(), item.caption) << i;
    EXPECT_EQ(actions.at(i)->isSeparator(), item.separator) << i;
    EXPECT_EQ(actions.at(i)->isEnabled(), item.enabled) << i;
  }
  actions.at(TrayMenu::mExit)->trigger();
  EXPECT_EQ(chosen, std::vector<int>{TrayMenu::mExit});
  icon.lastMenu()->close();
}

TEST(TrayIconWithTray, RightClickOpensTheMenuAndBeendenUnloadsTheOwner) {
  TrayIcon icon;
  EventLog log;
  FakeOwner owner;
  const std::int16_t lockMode = 1;
  FrmSysTray tray(icon, log, lockMode);
  tray.setFSys(&owner);
  tray.Form_Load(QStringLiteral("meldlux"));
  EXPECT_TRUE(icon.state().shown());

  icon.onActivated(QSystemTrayIcon::Context, Qt::NoModifier);
  ASSERT_NE(icon.lastMenu(), nullptr);
  const QList<QAction*> actions = icon.lastMenu()->actions();
  actions.at(TrayMenu::mExit)->trigger();
  EXPECT_EQ(owner.unloads, 1);
  icon.lastMenu()->close();
}

} // namespace
} // namespace meldlux
