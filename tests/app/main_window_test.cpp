#include "app/application.h"
#include "app/main_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
  MainWindowTest()
      : app_(std::make_unique<ManualClock>(), std::make_unique<EventLog>()), window_(app_) {}

  template <typename W> W* find(const char* name) {
    auto* widget = window_.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  static void type(QWidget* widget, Qt::Key key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
  }

  Application app_;
  MainWindow window_;
};

TEST_F(MainWindowTest, TextBoxesShowTheModelAndHandEditsToIt) {
  auto* txtSrv = find<QLineEdit>("txtSrv");
  auto* txtSrvPort = find<QLineEdit>("txtSrvPort");
  EXPECT_EQ(txtSrv->text(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(txtSrvPort->text(), QStringLiteral("7778"));

  app_.options().setText(Text::txtSrv, QStringLiteral("leitstelle"));
  EXPECT_EQ(txtSrv->text(), QStringLiteral("leitstelle"));

  txtSrvPort->end(false);
  type(txtSrvPort, Qt::Key_9, QStringLiteral("9"));
  EXPECT_EQ(app_.options().text(Text::txtSrvPort), QStringLiteral("77789"));
}

TEST_F(MainWindowTest, KeepaliveBoxRunsTheModelsRulesOnEditAndOnLeaving) {
  auto* box = find<QLineEdit>("txtKeepalive");
  EXPECT_FALSE(box->toolTip().isEmpty());
  box->selectAll();
  type(box, Qt::Key_Backspace);
  EXPECT_EQ(app_.options().text(Text::txtKeepalive), QStringLiteral("0"));
  EXPECT_EQ(box->text(), QStringLiteral("0")); // the change rule's text shows at once

  box->setText(QString());
  type(box, Qt::Key_1, QStringLiteral("1"));
  EXPECT_EQ(app_.options().text(Text::txtKeepalive), QStringLiteral("1"));
  QFocusEvent leave(QEvent::FocusOut);
  QCoreApplication::sendEvent(box, &leave);
  EXPECT_EQ(box->text(), QStringLiteral("30"));
}

TEST_F(MainWindowTest, DoubleClickOnThePasswordSwitchesItsMasking) {
  auto* box = find<QLineEdit>("txtPW");
  const auto before = box->echoMode();
  QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(box, &click);
  EXPECT_NE(box->echoMode(), before);
  EXPECT_EQ(box->echoMode() == QLineEdit::Password, !app_.options().passwordChar().isEmpty());
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

TEST_F(MainWindowTest, AutoConnectBoxSwitchesTheTimerBothWays) {
  auto* box = find<QCheckBox>("chkAuto");
  box->click();
  EXPECT_TRUE(app_.options().checked(Check::chkAuto));
  EXPECT_TRUE(app_.link().timer1().isActive());
  app_.options().setChecked(Check::chkAuto, false);
  EXPECT_FALSE(box->isChecked());
  EXPECT_FALSE(app_.link().timer1().isActive());
}

TEST_F(MainWindowTest, ButtonConnectsAndClosingTheWindowSaysGoodbye) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  app_.options().setText(Text::txtSrvPort, QString::number(server.serverPort()));
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
