// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace meldlux {

class Application;

// "Überwachung": when a lost link, a silent server and an expected telegram that stays away are
// warned of, how often a warning comes again, and its sound. OK stores the values in
// [Überwachung] and the watch takes them at once.
class SupervisionSettingsWindow final : public QDialog {
  Q_OBJECT
public:
  explicit SupervisionSettingsWindow(Application& app, QWidget* parent = nullptr);

  void accept() override;

private:
  void chooseSound();
  // Says under the list which parts of it are left out, and why.
  void expectedChanged();

  Application& app_;
  QSpinBox* connection_ = nullptr;
  QSpinBox* repeat_ = nullptr;
  QSpinBox* silence_ = nullptr;
  QLineEdit* expected_ = nullptr;
  QLabel* expectedProblems_ = nullptr;
  QLineEdit* sound_ = nullptr;
};

} // namespace meldlux
