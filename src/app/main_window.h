#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace meldlux {

class Application;
enum class Text;

// Form1: the options window, which is also the program's main window. Its controls present the
// models and hand every edit and click to them; the rules live in the models.
class MainWindow : public QWidget {
  Q_OBJECT
public:
  explicit MainWindow(Application& app, QWidget* parent = nullptr);

Q_SIGNALS:
  // The "Fahrzeugstatus" button below the frames.
  void boardRequested();

protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QWidget* buildServerFrame();
  QWidget* buildStatusFrame();
  QWidget* buildBoardButton();
  QLineEdit* bindText(Text box, const QString& objectName);
  void showStatus();
  void showPasswordChar();

  Application& app_;
  QLineEdit* txtPW_ = nullptr;
  QLineEdit* txtKeepalive_ = nullptr;
  QCheckBox* chkAuto_ = nullptr;
  QPushButton* cmdStatus_ = nullptr;
  QLabel* lblStatus_ = nullptr;
};

} // namespace meldlux
