// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace meldlux {

class Application;
class HistoryWindow;
enum class Text;

// Form1: the options window, which is also the program's main window. Its controls present the
// models and hand every edit and click to them; the rules live in the models.
class MainWindow : public QWidget {
  Q_OBJECT
public:
  explicit MainWindow(Application& app, QWidget* parent = nullptr);
  ~MainWindow() override;

  // "Verlauf", made when it is first wanted and kept (with its filter) while the program runs.
  void showHistory();
  // The journal's settings page, modal.
  void showJournalSettings();
  // "Überwachung …": the watch's settings, as a dialog of its own.
  void showSupervisionSettings();

Q_SIGNALS:
  // The "Fahrzeugstatus" button below the frames.
  void boardRequested();
  void rulesRequested();

protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QWidget* buildServerFrame();
  QWidget* buildStatusFrame();
  QWidget* buildOwnButtons();
  QLineEdit* bindText(Text box, const QString& objectName);
  void showStatus();
  void showPasswordChar();

  Application& app_;
  QLineEdit* txtPW_ = nullptr;
  QLineEdit* txtKeepalive_ = nullptr;
  QCheckBox* chkAuto_ = nullptr;
  QPushButton* cmdStatus_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  std::unique_ptr<HistoryWindow> history_;
};

} // namespace meldlux
