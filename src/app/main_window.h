#pragma once

#include <QWidget>

namespace meldlux {

class Application;

// Form1: the options window, which is also the program's main window.
class MainWindow : public QWidget {
  Q_OBJECT
public:
  explicit MainWindow(Application& app, QWidget* parent = nullptr);

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  Application& app_;
};

} // namespace meldlux
