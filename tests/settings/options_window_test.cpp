#include "app/application.h"
#include "app/main_window.h"
#include "fake_font_colour_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

DisplayPorts portsWith(testing::FakeFontColourDialog*& dialog) {
  DisplayPorts ports;
  auto fake = std::make_unique<testing::FakeFontColourDialog>();
  dialog = fake.get();
  ports.dialog = std::move(fake);
  return ports;
}

// The real main window on the real object graph, offscreen; the screen is 19200 twips wide.
class OptionsWindowTest : public ::testing::Test {
protected:
  OptionsWindowTest()
      : app_(std::make_unique<ManualClock>(), std::make_unique<EventLog>(), portsWith(dialog_)),
        window_(app_) {}

  template <typename W> W* find(const char* name) {
    auto* widget = window_.findChild<W*>(QString::fromLatin1(name));
    if (!widget)
      ADD_FAILURE() << "no control " << name;
    return widget;
  }

  // Types one character at the caret, as a key press would.
  static void type(QLineEdit* box, QChar character) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(box, &press);
  }
  static void retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    for (QChar c : text)
      type(box, c);
  }
  static void click(QWidget* widget) {
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
  }

  Options& options() { return app_.options(); }

  testing::FakeFontColourDialog* dialog_ = nullptr;
  Application app_;
  MainWindow window_;
};

const QString kSecondsTip = QStringLiteral("Max. 65 Sekunden, 0 = Immer im Vordergrund");

TEST_F(OptionsWindowTest, EveryOptionHasItsControl) {
  for (const char* name :
       {"txtSrv", "txtSrvPort", "txtPW", "txtKeepalive", "txtMsgOnly", "txtMsgTime", "txtMsgLines",
        "txtMsgBreite", "txtMsgLinks", "txtReClickHide", "txtSndAlarm", "txtSndFzg", "txtSndText",
        "txtSndSA", "txtSndSAKennung"})
    find<QLineEdit>(name);
  for (const char* name : {"chkAuto", "chkMsgAktiv", "chkMsgVorne", "chkHideRIC", "chkReClickHide",
                           "chkUnbekFME", "chkUnbekFMS", "chkSW", "chkES", "chkSndAlarm",
                           "chkSndFzg", "chkSndText", "chkSndSA", "chkSysTray"})
    find<QCheckBox>(name);
}

TEST_F(OptionsWindowTest, CaptionsAndToolTips) {
  auto caption = [&](const char* name) -> QString {
    if (auto* button = window_.findChild<QAbstractButton*>(QString::fromLatin1(name)))
      return button->text();
    if (auto* label = find<QLabel>(name))
      return label->text();
    return {};
  };
  EXPECT_EQ(caption("chkMsgAktiv"), u"Aktiv");
  EXPECT_EQ(caption("chkMsgVorne"), u"Im Vordergrund für Sek:");
  EXPECT_EQ(caption("Label8"), u"Zeilen:");
  EXPECT_EQ(caption("OptPosition0"), u"Oben");
  EXPECT_EQ(caption("OptPosition1"), u"Unten");
  EXPECT_EQ(caption("Label3"), u"Breite (%):");
  EXPECT_EQ(caption("Label4"), u"Links (%):");
  EXPECT_EQ(caption("Label5"), u"Anzeigen:");
  EXPECT_EQ(caption("Label6"), u"Unbekannte anzeigen:");
  EXPECT_EQ(caption("chkReClickHide"), u"Rechtsklick versteckt für Sek:");
  EXPECT_EQ(caption("chkHideRIC"), u"RICs/ZVEI ausblenden");
  EXPECT_EQ(caption("chkES"), u"Es Spricht");
  EXPECT_EQ(caption("cmdMsgSchrift"), u"Schrift");
  EXPECT_EQ(caption("lblFarbe"), u"Hintergrundfarbe");
  EXPECT_EQ(caption("chkSysTray"), u"Systray Icon");
  EXPECT_EQ(caption("chkSndAlarm"), u"Alarmierung:");
  EXPECT_EQ(caption("chkSndSA"), u"Sprechauff:");

  EXPECT_EQ(find<QCheckBox>("chkMsgVorne")->toolTip(), kSecondsTip);
  EXPECT_EQ(find<QLineEdit>("txtMsgTime")->toolTip(), kSecondsTip);
  EXPECT_EQ(find<QCheckBox>("chkReClickHide")->toolTip(), kSecondsTip);
  EXPECT_EQ(find<QLineEdit>("txtMsgBreite")->toolTip(),
            u"Gibt die Breite des Statusfensters bezogen auf die Bildschirmbreite an");
  EXPECT_EQ(find<QLineEdit>("txtMsgLinks")->toolTip(),
            u"Abstand des Statusfenster vom linken Rand, bezogen auf die Bildschirmbreite");
  EXPECT_EQ(find<QLineEdit>("txtSndSA")->toolTip(), u"Sounddatei für Sprechaufforderung");
  EXPECT_EQ(find<QLineEdit>("txtSndSAKennung")->toolTip(), u"FMS Kennung für Sprechaufforderung");
}

TEST_F(OptionsWindowTest, FramesAndRowsAreArranged) {
  window_.show(); // offscreen; the frames lay themselves out on their first show
  QCoreApplication::processEvents();
  QGroupBox* frames[4] = {};
  for (auto* frame : window_.findChildren<QGroupBox*>()) {
    const QString title = frame->title();
    const int k = title == u"Server"            ? 0
                  : title == u"Sound"           ? 1
                  : title == u"Telegrammleiste" ? 2
                  : title == u"Status"          ? 3
                                                : -1;
    if (k >= 0)
      frames[k] = frame;
  }
  for (auto* frame : frames)
    ASSERT_NE(frame, nullptr);
  const QRect server = frames[0]->geometry(), sound = frames[1]->geometry(),
              bar = frames[2]->geometry(), status = frames[3]->geometry();
  EXPECT_EQ(sound.left(), server.left());
  EXPECT_GT(sound.top(), server.bottom());
  EXPECT_GT(bar.left(), server.right());
  EXPECT_EQ(bar.top(), server.top());
  EXPECT_GT(status.top(), std::max(sound.bottom(), bar.bottom()));
  EXPECT_GE(status.width(), bar.right() - server.left()); // across both columns

  // The popup's options, top to bottom.
  int lastTop = -1;
  for (const char* name :
       {"chkMsgAktiv", "chkMsgVorne", "txtMsgLines", "OptPosition0", "txtMsgBreite", "txtMsgLinks",
        "txtMsgOnly", "chkUnbekFME", "chkHideRIC", "chkReClickHide", "chkSW", "cmdMsgSchrift"}) {
    auto* widget = find<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    EXPECT_GT(widget->geometry().top(), lastTop) << name;
    lastTop = widget->geometry().top();
  }
  EXPECT_LT(find<QWidget>("chkUnbekFME")->x(), find<QWidget>("chkUnbekFMS")->x());
  EXPECT_LT(find<QWidget>("lblFarbe")->x(), find<QWidget>("chkSysTray")->x());
}

TEST_F(OptionsWindowTest, TypedLinesAndTimeAreClampedInTheBox) {
  auto* lines = find<QLineEdit>("txtMsgLines");
  retype(lines, QStringLiteral("0"));
  EXPECT_EQ(lines->text(), u"1");
  retype(lines, QStringLiteral("99"));
  EXPECT_EQ(lines->text(), u"30");
  EXPECT_EQ(options().text(Text::txtMsgLines), u"30");

  auto* time = find<QLineEdit>("txtMsgTime");
  retype(time, QStringLiteral("100"));
  EXPECT_EQ(time->text(), u"65");
  retype(time, QStringLiteral("-3"));
  EXPECT_EQ(time->text(), u"0");
}

TEST_F(OptionsWindowTest, DecimalCommaTurnsIntoAPointUnderTheCaret) {
  auto* width = find<QLineEdit>("txtMsgBreite");
  retype(width, QStringLiteral("125"));
  width->setCursorPosition(2);
  type(width, u',');
  EXPECT_EQ(width->text(), u"12.5");
  EXPECT_EQ(width->cursorPosition(), 3);
  EXPECT_FLOAT_EQ(options().PopupWidthPercent, 12.5f);
  EXPECT_EQ(app_.popupModel().width(), 2400); // an eighth of 19200 twips, at once

  auto* left = find<QLineEdit>("txtMsgLinks");
  retype(left, QStringLiteral("12,5"));
  EXPECT_EQ(left->text(), u"12.5");
  EXPECT_EQ(left->cursorPosition(), 4);
  EXPECT_EQ(app_.popupModel().left(), 2400);
}

TEST_F(OptionsWindowTest, NegativeWidthGivesNoWidthAtAll) {
  retype(find<QLineEdit>("txtMsgBreite"), QStringLiteral("-10"));
  EXPECT_FLOAT_EQ(options().PopupWidthPercent, -10.0f);
  EXPECT_EQ(app_.popupModel().width(), 0);
  app_.popupModel().RefreshLines();
  EXPECT_EQ(app_.popupModel().width(), 0);
  retype(find<QLineEdit>("txtMsgBreite"), QStringLiteral("50"));
  EXPECT_EQ(app_.popupModel().width(), 9600);
}

TEST_F(OptionsWindowTest, ModelChangesReachTheControls) {
  options().setText(Text::txtMsgOnly, QStringLiteral("002;003"));
  EXPECT_EQ(find<QLineEdit>("txtMsgOnly")->text(), u"002;003");
  options().setText(Text::txtSndSAKennung, QStringLiteral("65432101"));
  EXPECT_EQ(find<QLineEdit>("txtSndSAKennung")->text(), u"65432101");
  options().setChecked(Check::chkHideRIC, true);
  EXPECT_TRUE(find<QCheckBox>("chkHideRIC")->isChecked());
  options().setChecked(Check::chkSysTray, false);
  EXPECT_FALSE(find<QCheckBox>("chkSysTray")->isChecked());
  options().OptPosition_Click(1);
  EXPECT_TRUE(find<QRadioButton>("OptPosition1")->isChecked());
  EXPECT_FALSE(find<QRadioButton>("OptPosition0")->isChecked());

  auto* sample = find<QLabel>("lblFarbe");
  EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(0, 0, 0));
  options().setSampleColour(16777215);
  EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(255, 255, 255));
  EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST_F(OptionsWindowTest, ClicksReachTheModelAndItsRules) {
  find<QRadioButton>("OptPosition1")->click();
  EXPECT_EQ(options().PopupPosition, 1);
  EXPECT_EQ(options().selectedPosition(), 1);
  find<QRadioButton>("OptPosition0")->click();
  EXPECT_EQ(options().PopupPosition, 0);

  find<QCheckBox>("chkSW")->click();
  EXPECT_FALSE(options().checked(Check::chkSW));
  EXPECT_FALSE(app_.popupModel().lblSprechwunsch().visible);
  find<QCheckBox>("chkSndFzg")->click();
  EXPECT_TRUE(options().checked(Check::chkSndFzg));
  find<QCheckBox>("chkSysTray")->click();
  EXPECT_FALSE(options().InTray);

  auto* file = find<QLineEdit>("txtSndAlarm");
  retype(file, QStringLiteral("gong.wav"));
  EXPECT_EQ(options().text(Text::txtSndAlarm), u"gong.wav");
}

TEST_F(OptionsWindowTest, ChoosersOpenFromTheirControls) {
  dialog_->font = PopupFont{QStringLiteral("Courier New"), 12, true, false};
  find<QPushButton>("cmdMsgSchrift")->click();
  EXPECT_EQ(dialog_->title, u"Schriftart Auswählen");
  EXPECT_EQ(app_.popupModel().lblSpricht().font.name, u"Courier New");

  dialog_->colour = 16777215;
  auto* sample = find<QLabel>("lblFarbe");
  click(sample);
  EXPECT_EQ(dialog_->title, u"Hintergrundfarbe Auswählen");
  EXPECT_EQ(app_.popupModel().backColor(), 16777215);
  EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(255, 255, 255));
  EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  EXPECT_EQ(dialog_->opened, 2);
}

} // namespace
} // namespace meldlux
