#include "app/application.h"
#include "app/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  meldlux::Application app(std::make_unique<meldlux::SystemClock>(),
                           meldlux::EventLog::fromEnvironment());
  meldlux::MainWindow window(app);
  if (!app.loadSettingsAtStart() || !app.mainWindowStartsHidden(0 /* LockMode */))
    window.show();
  return qapp.exec();
}
