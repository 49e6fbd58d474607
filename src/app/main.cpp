#include "app/application.h"
#include "app/command_line.h"
#include "app/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  meldlux::Application app(std::make_unique<meldlux::SystemClock>(),
                           meldlux::EventLog::fromEnvironment());
  // A server named on the command line is used for this run. The lock mode is read here too;
  // the tray and start-up rules that act on it are still to come.
  const meldlux::CommandLine commandLine =
      meldlux::parseCommandLine(meldlux::commandLineText(qapp.arguments().mid(1)));
  if (commandLine.server)
    app.options().setText(meldlux::Text::txtSrv, *commandLine.server);
  meldlux::MainWindow window(app);
  if (!app.loadSettingsAtStart() || !app.mainWindowStartsHidden(0 /* LockMode */))
    window.show();
  return qapp.exec();
}
