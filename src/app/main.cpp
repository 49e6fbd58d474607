// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/command_line.h"
#include "app/event_log_ticker.h"
#include "app/first_start.h"
#include "app/first_start_window.h"
#include "app/main_window.h"
#include "app/paint_probe_qt.h"
#include "app/platform_ports.h"
#include "app/qt_german_texts.h"
#include "app/shipped_sounds.h"
#include "app/single_instance.h"
#include "base/utf8_console.h"
#include "board/vehicle_board_window.h"
#include "display/foreground_qt.h"
#include "display/platform_choice.h"
#include "display/popup_window.h"
#include "display/screen_qt.h"
#include "display/text_metrics_qt.h"
#include "monitor/alarm_monitor_window.h"
#include "options_window/font_colour_dialog_qt.h"
#include "refdata/message_boxes_qt.h"
#include "rules/alarm_rules_window.h"
#include "tray/owner_window_qt.h"
#include "tray/tray_icon.h"

#include <QApplication>
#include <QSessionManager>
#include <cstdio>

int main(int argc, char** argv) {
  QStringList given;
  for (int i = 1; i < argc; ++i)
    given << QString::fromLocal8Bit(argv[i]);
  if (meldlux::asksForHelp(given)) {
    const meldlux::Utf8Console console(true); // a desktop program: the shell's console, if any
    std::fputs(meldlux::commandLineHelp().toUtf8().constData(), stdout);
    return 0;
  }
  meldlux::chooseXcbOnWayland(argc, argv);
  QApplication qapp(argc, argv);
  meldlux::keepUiFontReadable();
  const auto qtGermanTexts = meldlux::installQtGermanTexts();
  if (!qtGermanTexts)
    std::fputs("Meldlux: Qts deutsche Texte (qtbase_de.qm) fehlen; seine Dialoge bleiben "
               "englisch\n", stderr);
  qapp.setWindowIcon(meldlux::TrayIcon::picture()); // the window shows the tray's alert light
  QGuiApplication::setDesktopFileName(QStringLiteral("de.meldlux.Meldlux")); // the menu entry
  // A second start on the same settings brings this one's window forward and ends.
  meldlux::SingleInstance instance(
      meldlux::SettingsStore().filePath(QString::fromLatin1(meldlux::SettingsStore::kApplication)));
  if (!instance.claim()) {
    std::fputs("Meldlux läuft bereits\n", stderr);
    return 0;
  }
  meldlux::Application app(
      std::make_unique<meldlux::SystemClock>(), meldlux::EventLog::fromEnvironment(),
      meldlux::DisplayPorts{
          std::make_unique<meldlux::QtScreen>(), std::make_unique<meldlux::QtTextMetrics>(),
          std::make_unique<meldlux::QtForeground>(), meldlux::makeSystemSoundPlayer(),
          std::make_unique<meldlux::QtMessageBoxes>(
              meldlux::QtMessageBoxes::timeoutFromEnvironment()),
          std::make_unique<meldlux::QtFontColourDialog>(), std::make_unique<meldlux::TrayIcon>(),
          meldlux::makeSystemVoice()});
  // Before start-up, so that it also shows the loop turning inside a loader's message box.
  meldlux::EventLogTicker ticker(app.eventLog());
  meldlux::PopupWindow popup(app.popupModel());
  meldlux::PaintProbe paintProbe(app.eventLog(), popup, app.popupModel());
  meldlux::MainWindow window(app);
  meldlux::QtOwnerWindow owner(window);
  meldlux::VehicleBoardWindow board(app.vehicleBoard());
  QObject::connect(&window, &meldlux::MainWindow::boardRequested, &board,
                   &meldlux::VehicleBoardWindow::showInFront);
  QObject::connect(&app.tray(), &meldlux::FrmSysTray::boardChosen, &board,
                   &meldlux::VehicleBoardWindow::showInFront);
  app.setMainWindow(&owner);
  // The hall monitor: a screen of its own, or a window that opens for an alarm. A screen that is
  // not there is told once on the strip.
  meldlux::AlarmMonitorWindow monitor(app.alarmMonitor(), [&app](const QString& text) {
    app.eventLog().write(u"monitor", {QStringLiteral("screen"), text});
    app.popupModel().LoaderNotice(text,
                                  app.statusTables().colour(meldlux::StatusTables::kInformation));
  });
  if (app.eventLog().enabled() && qEnvironmentVariable("MELDLUX_EVENT_LOG_PAINT") == u"1")
    QObject::connect(&monitor, &meldlux::AlarmMonitorWindow::alarmPainted, &app,
                     [&app](const QString& text) {
                       app.eventLog().write(u"monitor", {QStringLiteral("painted"), text});
                     });
  QObject::connect(&instance, &meldlux::SingleInstance::showRequested, &app,
                   &meldlux::Application::showMainWindowOnRequest);
  // The program ends when its main window is unloaded (the window, the tray menu, a signal),
  // not when its last visible window goes: it may live on as the tray icon alone.
  qapp.setQuitOnLastWindowClosed(false);
  // exit() rather than quit(): it also ends a modal loop that is running, such as a loader's box
  // during start-up, when the main loop has not even begun.
  QObject::connect(
      &app, &meldlux::Application::unloaded, &qapp, [] { QCoreApplication::exit(0); },
      Qt::QueuedConnection);
  QObject::connect(&app.tray(), &meldlux::FrmSysTray::historyWanted, &window,
                   &meldlux::MainWindow::showHistory);
  QObject::connect(&app.tray(), &meldlux::FrmSysTray::supervisionWanted, &window,
                   &meldlux::MainWindow::showSupervisionSettings);
  meldlux::AlarmRulesWindow rules(app.alarmStation(), app.settingsStore());
  QObject::connect(&window, &meldlux::MainWindow::rulesRequested, &rules,
                   &meldlux::AlarmRulesWindow::showInFront);
  QObject::connect(&app.tray(), &meldlux::FrmSysTray::rulesWanted, &rules,
                   &meldlux::AlarmRulesWindow::showInFront);
  // A request of the system to end (a signal, a polite taskkill, logging out) ends the program
  // the way closing its main window does, once.
  const auto endInOrder = [&window, &app] {
    if (!app.isUnloaded())
      window.close();
  };
  const auto endRequests = meldlux::listenForEndRequests(endInOrder);
  // The session asks to save, for a checkpoint or before it ends: an end that may still be called
  // off, by the user or another program. The station stays alerted until the end really comes.
  QObject::connect(&qapp, &QGuiApplication::commitDataRequest, &app,
                   [&app](QSessionManager&) { app.saveNow(); });
  // Looked at before start-up, which may write settings of its own.
  app.keepDamagedSettings();
  const bool firstStart = meldlux::storeHoldsNoSettings(app.settingsStore());
  QStringList arguments = qapp.arguments().mid(1);
  const bool monitorSwitch = meldlux::takeMonitorSwitch(arguments);
  app.Form_Load(meldlux::commandLineText(arguments));
  if (app.isUnloaded())
    return 0; // ended by a signal or a log-out while start-up waited in a box
  const meldlux::MonitorSettings monitorSettings = app.monitorSettings();
  monitor.setScreenName(monitorSettings.screen);
  if (monitorSwitch || monitorSettings.start)
    monitor.setPermanent(true);
  if (!app.mainWindowStartsHidden())
    window.show();
  // Beside the running program, once the popup is armed: it holds nothing up, and whoever
  // closes it keeps the defaults.
  std::unique_ptr<meldlux::FirstStartWindow> setup;
  if (firstStart) {
    setup =
        std::make_unique<meldlux::FirstStartWindow>(app.options(), meldlux::shippedSoundFolder());
    setup->show();
    app.eventLog().write(u"window", {setup->windowTitle()});
  }
  return qapp.exec();
}
