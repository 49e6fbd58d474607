#include "app/main_window.h"

#include "app/application.h"

#include <QCloseEvent>

namespace meldlux {

MainWindow::MainWindow(Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  setWindowTitle(Application::caption());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  app_.saveSettingsAtExit(isVisible()); // first, while the window still is what the user saw
  QWidget::closeEvent(event);
}

} // namespace meldlux
