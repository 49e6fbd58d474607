#include "app/application.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "display/foreground_qt.h"
#include "display/platform_choice.h"
#include "display/popup_window.h"
#include "display/screen_qt.h"
#include "display/text_metrics_qt.h"

#include <QApplication>

int main(int argc, char** argv) {
  meldlux::chooseXcbOnWayland(argc, argv);
  QApplication qapp(argc, argv);
  meldlux::Application app(std::make_unique<meldlux::SystemClock>(),
                           meldlux::EventLog::fromEnvironment(),
                           meldlux::DisplayPorts{std::make_unique<meldlux::QtScreen>(),
                                                 std::make_unique<meldlux::QtTextMetrics>(),
                                                 std::make_unique<meldlux::QtForeground>()});
  meldlux::PopupWindow popup(app.popupModel());
  meldlux::MainWindow window(app);
  // A server named on the command line is used for this run. The lock mode is read here too;
  // the tray rules that act on it are still to come.
  const meldlux::CommandLine commandLine =
      meldlux::parseCommandLine(meldlux::commandLineText(qapp.arguments().mid(1)));
  if (!app.loadSettingsAtStart() || !app.mainWindowStartsHidden(0 /* LockMode */))
    window.show();
  if (commandLine.server)
    app.options().setText(meldlux::Text::txtSrv, *commandLine.server);
  return qapp.exec();
}
