#include "options_window/main_window_fixture.h"
#include "support/signal_recorder.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>

namespace meldlux {
namespace {

using MainWindowTest = testing::MainWindowFixture;

TEST_F(MainWindowTest, TextBoxesStartFromTheModel) {
  EXPECT_EQ(find<QLineEdit>("txtSrv")->text(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(find<QLineEdit>("txtSrvPort")->text(), QStringLiteral("7778"));
}

TEST_F(MainWindowTest, KeepaliveBoxRunsTheModelsRulesOnEditAndOnLeaving) {
  auto* box = find<QLineEdit>("txtKeepalive");
  box->selectAll();
  type(box, QString(), Qt::Key_Backspace);
  EXPECT_EQ(options().text(Text::txtKeepalive), QStringLiteral("0"));
  EXPECT_EQ(box->text(), QStringLiteral("0")); // the change rule's text shows at once

  box->setText(QString());
  type(box, QStringLiteral("1"), Qt::Key_1);
  EXPECT_EQ(options().text(Text::txtKeepalive), QStringLiteral("1"));
  // Only focus going to another control leaves the box; the window losing activation, or the
  // box's own context menu or the menu bar taking the keyboard, does not.
  for (const auto& [reason, shown] : {std::pair{Qt::ActiveWindowFocusReason, "1"},
                                      {Qt::PopupFocusReason, "1"},
                                      {Qt::MenuBarFocusReason, "1"},
                                      {Qt::TabFocusReason, "30"},
                                      {Qt::MouseFocusReason, "30"},
                                      {Qt::BacktabFocusReason, "30"},
                                      {Qt::ShortcutFocusReason, "30"},
                                      {Qt::OtherFocusReason, "30"}}) {
    options().setText(Text::txtKeepalive, QStringLiteral("1"));
    QFocusEvent leave(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(box, &leave);
    EXPECT_EQ(box->text(), QString::fromLatin1(shown)) << reason;
  }
}

TEST_F(MainWindowTest, DoubleClickOnThePasswordSwitchesItsMasking) {
  auto* box = find<QLineEdit>("txtPW");
  const auto before = box->echoMode();
  mouse(box, QEvent::MouseButtonDblClick);
  EXPECT_NE(box->echoMode(), before);
  EXPECT_EQ(box->echoMode() == QLineEdit::Password, !options().passwordChar().isEmpty());
}

TEST_F(MainWindowTest, StatusLabelAndButtonFollowTheLink) {
  auto* label = find<QLabel>("lblStatus");
  auto* button = find<QPushButton>("cmdStatus");
  EXPECT_EQ(label->text(), QStringLiteral("Unbekannt"));
  EXPECT_EQ(button->text(), QStringLiteral("Verbinden"));
  app_.statusLabel().set(QStringLiteral("Getrennt"), StatusLabel::kRed);
  EXPECT_EQ(label->text(), QStringLiteral("Getrennt"));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  app_.statusLabel().set(QStringLiteral("Verb????"), StatusLabel::kBlue);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  app_.link().Winsock2_Connect();
  EXPECT_EQ(button->text(), QStringLiteral("Trennen"));
}

TEST_F(MainWindowTest, FahrzeugstatusButtonAsksForTheBoard) {
  SignalCounter asked(&window_, &MainWindow::boardRequested);
  find<QPushButton>("cmdFahrzeugstatus")->click();
  EXPECT_EQ(asked.count, 1);
}

TEST_F(MainWindowTest, AutoConnectBoxSwitchesTheTimerBothWays) {
  find<QCheckBox>("chkAuto")->click();
  EXPECT_TRUE(app_.link().timer1().isActive());
  options().setChecked(Check::chkAuto, false);
  EXPECT_FALSE(app_.link().timer1().isActive());
}

TEST_F(MainWindowTest, ButtonConnectsAndClosingTheWindowSaysGoodbye) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  options().setText(Text::txtSrvPort, QString::number(server.serverPort()));
  find<QPushButton>("cmdStatus")->click();
  ASSERT_TRUE(server.waitForNewConnection(5000));
  QTcpSocket* client = server.nextPendingConnection();
  QDeadlineTimer deadline(5000);
  while (!app_.link().isConnected() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_TRUE(app_.link().isConnected());

  window_.close();
  EXPECT_TRUE(app_.link().isClosed());
  QByteArray received = client->readAll(); // some may have come in during the goodbye
  while (received.size() < 11 && client->waitForReadyRead(2000))
    received += client->readAll();
  EXPECT_EQ(received, QByteArray("XXX\r\nExit\r\n"));
}

} // namespace
} // namespace meldlux
