#include "app/main_window.h"

#include "app/application.h"

namespace meldlux {

MainWindow::MainWindow(Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  setWindowTitle(Application::caption());
}

} // namespace meldlux
