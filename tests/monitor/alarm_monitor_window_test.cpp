// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/handler_rig.h"

#include "board/vehicle_board.h"
#include "journal/journal_entry.h"
#include "monitor/alarm_monitor.h"
#include "monitor/alarm_monitor_window.h"

#include "support/wait.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <qpa/qplatformnativeinterface.h>

namespace meldlux {
namespace {

using testing::waitUntil;

// What tesseract (German) reads on the window's picture, blanks folded: the texts as a person
// would see them, not as the widgets hold them. Empty when tesseract is missing.
QString readPicture(QWidget& window) {
  if (QStandardPaths::findExecutable(u"tesseract"_qs).isEmpty())
    return {};
  QTemporaryDir dir;
  const QString file = dir.filePath(u"shot.png"_qs);
  if (!window.grab().save(file))
    return {};
  QProcess ocr;
  ocr.start(u"tesseract"_qs, {file, u"-"_qs, u"-l"_qs, u"deu"_qs});
  if (!ocr.waitForFinished(60000))
    return {};
  return QString::fromUtf8(ocr.readAllStandardOutput()).simplified();
}

// The rig's vehicles on a board, the monitor hearing the handlers, and its window.
class MonitorWindow : public HandlerRig {
protected:
  MonitorWindow() {
    board.loadVehicles();
    journal.setTarget(&monitor);
    QObject::connect(&window, &AlarmMonitorWindow::alarmPainted,
                     [this](const QString& text) { painted << text; });
  }
  void status(const QString& identifier, int status) {
    JournalEntry e;
    e.kind = JournalKind::FmsVehicle;
    e.identifier = identifier;
    e.status = status;
    e.arrival = clock.now();
    board.record(e);
  }
  bool shows(const QString& text) const { return window.texts().contains(text); }

  VehicleBoard board{clock, tables, reference.vehicles, log};
  AlarmMonitor monitor{clock, log, board};
  QStringList notes;
  AlarmMonitorWindow window{monitor, [this](const QString& text) { notes << text; }};
  QStringList painted;
};

TEST_F(MonitorWindow, OpensForAnAlarmReadableAndShowsTheStationWhenIdle) {
  receive(zvei(u"21001"_qs));
  status(u"64123456"_qs, 3);
  EXPECT_FALSE(window.isVisible());

  monitor.alarm({clock.now() - 125 / kSecondsPerDay, u"21001"_qs, u"FF Musterstadt"_qs,
                 u"Wohnungsbrand Hauptstraße 12"_qs, true});
  ASSERT_TRUE(window.isVisible());
  ASSERT_TRUE(waitUntil([&] { return !painted.isEmpty(); }));
  EXPECT_EQ(painted, QStringList{u"Wohnungsbrand Hauptstraße 12"_qs});
  for (const QString& text : {u"Alarm 11:57:55   21001   TEST"_qs, u"seit 02:05"_qs,
                              u"FF Musterstadt"_qs, u"Wohnungsbrand Hauptstraße 12"_qs})
    EXPECT_TRUE(shows(text)) << text.toStdString() << " in "
                             << window.texts().join(u'|').toStdString();
  const QString alarm = readPicture(window);
  for (const char* text : {"seit 02:05", "FF Musterstadt", "Wohnungsbrand Hauptstraße 12"}) {
    if (alarm.isEmpty())
      break; // without tesseract: the idle check below says why it was skipped
    EXPECT_TRUE(alarm.contains(QString::fromUtf8(text))) << text << " in " << alarm.toStdString();
  }

  // A click ends the alarm, and the window that opened for it closes.
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &click);
  EXPECT_FALSE(monitor.active());
  EXPECT_FALSE(window.isVisible());

  window.setPermanent(true);
  ASSERT_TRUE(window.isVisible());
  status(u"64123456"_qs, 4); // live
  for (const QString& text :
       {u"Freitag, 4. Dezember 2026"_qs, u"12:00:00"_qs, u"Letzte Alarme:"_qs,
        u"Florian Musterstadt 1/44-1 4 Am Einsatzort"_qs, u"Florian Musterstadt 1/10 –"_qs})
    EXPECT_TRUE(shows(text)) << text.toStdString() << " in "
                             << window.texts().join(u'|').toStdString();
  EXPECT_TRUE(window.texts().filter(u"21001   FF Musterstadt – Wohnungsbrand"_qs).size() == 1);
  const QString idle = readPicture(window);
  if (idle.isEmpty())
    GTEST_SKIP() << "tesseract with German (tesseract-ocr-deu) is not installed: the pictures "
                    "were not read";
  for (const char* text : {"Freitag, 4. Dezember 2026", "12:00:00", "Letzte Alarme"})
    EXPECT_TRUE(idle.contains(QString::fromUtf8(text))) << text << " in " << idle.toStdString();
}

TEST_F(MonitorWindow, AScreenThatIsGoneGivesThePrimaryAndIsToldOnce) {
  window.setScreenName(u"HDMI-9"_qs);
  for (int i = 0; i < 2; ++i) {
    monitor.alarm({clock.now(), u"21001"_qs, {}, u"Brand"_qs, false});
    EXPECT_EQ(window.screen(), QGuiApplication::primaryScreen());
    monitor.dismiss();
  }
  window.setScreenName(u"1"_qs);
  window.setPermanent(true);
  window.close(); // closed by hand: the next alarm brings it back all the same
  monitor.alarm({0, u"21001"_qs, {}, u"Brand"_qs, false});
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(shows(u"seit 00:00"_qs)); // an alarm without a time counts from its arrival
  EXPECT_EQ(notes, QStringList{u"Alarmmonitor: Bildschirm „HDMI-9“ nicht gefunden, zeige auf dem "
                               "Hauptbildschirm"_qs});
}

// The offscreen platform's own way to plug screens in and out at run time, as a station's cabling
// would; null on a platform that has none.
using SetConfiguration = void (*)(const QJsonObject&, QPlatformNativeInterface*);
SetConfiguration screenSetter() {
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  return native ? reinterpret_cast<SetConfiguration>(
                      native->nativeResourceForIntegration("setConfiguration"))
                : nullptr;
}

bool setScreens(const QStringList& names) {
  const SetConfiguration set = screenSetter();
  if (!set)
    return false;
  QJsonArray screens;
  int x = 0;
  for (const QString& name : names) {
    screens.append(QJsonObject{
        {u"name"_qs, name}, {u"x"_qs, x}, {u"y"_qs, 0}, {u"width"_qs, 1280}, {u"height"_qs, 720}});
    x += 1280;
  }
  set(QJsonObject{{u"screens"_qs, screens}}, QGuiApplication::platformNativeInterface());
  return QGuiApplication::screens().size() == names.size();
}

TEST_F(MonitorWindow, AScreenUnpluggedDuringAnAlarmHandsItToThePrimaryAndBack) {
  if (!screenSetter())
    GTEST_SKIP() << "the platform cannot change its screens at run time";
  ASSERT_TRUE(setScreens({u"DP-1"_qs, u"HDMI-2"_qs}));
  window.setScreenName(u"HDMI-2"_qs);
  monitor.alarm({clock.now(), u"21001"_qs, {}, u"Brand"_qs, false});
  ASSERT_EQ(window.screen()->name(), u"HDMI-2"_qs);
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(setScreens({u"DP-1"_qs}));
    EXPECT_TRUE(waitUntil([&] { return window.geometry().x() == 0; }));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(shows(u"Brand"_qs)); // the alarm itself goes on, on the other screen
    ASSERT_TRUE(setScreens({u"DP-1"_qs, u"HDMI-2"_qs}));
    EXPECT_TRUE(waitUntil([&] { return window.geometry().x() == 1280; }));
  }
  monitor.alarm({clock.now(), u"21002"_qs, {}, u"Hilfe"_qs, false});
  EXPECT_TRUE(shows(u"Hilfe"_qs));
  EXPECT_EQ(notes.size(), 1) << "told once, not per unplugging";
}

} // namespace
} // namespace meldlux
