// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/command_line.h"
#include "app/event_log_ticker.h"
#include "app/main_window.h"
#include "app/paint_probe_qt.h"
#include "app/qt_german_texts.h"
#include "app/quit_on_signal.h"
#include "board/vehicle_board_window.h"
#include "display/foreground_qt.h"
#include "display/platform_choice.h"
#include "display/popup_window.h"
#include "display/screen_qt.h"
#include "display/text_metrics_qt.h"
#include "options_window/font_colour_dialog_qt.h"
#include "refdata/message_boxes_qt.h"
#include "telegrams/sound_player_qt.h"
#include "tray/owner_window_qt.h"
#include "tray/tray_icon.h"

#include <QApplication>
#include <QSessionManager>
#include <cstdio>

int main(int argc, char** argv) {
  meldlux::chooseXcbOnWayland(argc, argv);
  QApplication qapp(argc, argv);
  const auto qtGermanTexts = meldlux::installQtGermanTexts();
  if (!qtGermanTexts)
    std::fputs("Meldlux: Qts deutsche Texte (qtbase_de.qm) fehlen; seine Dialoge bleiben "
               "englisch\n", stderr);
  qapp.setWindowIcon(meldlux::TrayIcon::picture()); // the window shows the tray's alert light
  QGuiApplication::setDesktopFileName(QStringLiteral("de.meldlux.Meldlux")); // the menu entry
  meldlux::Application app(
      std::make_unique<meldlux::SystemClock>(), meldlux::EventLog::fromEnvironment(),
      meldlux::DisplayPorts{
          std::make_unique<meldlux::QtScreen>(), std::make_unique<meldlux::QtTextMetrics>(),
          std::make_unique<meldlux::QtForeground>(), std::make_unique<meldlux::QtSoundPlayer>(),
          std::make_unique<meldlux::QtMessageBoxes>(),
          std::make_unique<meldlux::QtFontColourDialog>(), std::make_unique<meldlux::TrayIcon>()});
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
  meldlux::QuitOnSignal quitOnSignal([&window] { window.close(); });
#ifndef QT_NO_SESSIONMANAGER
  // Logging out ends the program the same way.
  QObject::connect(&qapp, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) { window.close(); });
#endif
  app.Form_Load(meldlux::commandLineText(qapp.arguments().mid(1)));
  if (app.isUnloaded())
    return 0; // ended by a signal or a log-out while start-up waited in a box
  if (!app.mainWindowStartsHidden())
    window.show();
  return qapp.exec();
}
