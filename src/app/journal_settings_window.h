// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace meldlux {

class Application;

// "Journal": whether the journal is kept, for how many days, and in which folder. OK stores
// the values in [Journal] and starts the journal afresh with them.
class JournalSettingsWindow final : public QDialog {
  Q_OBJECT
public:
  explicit JournalSettingsWindow(Application& app, QWidget* parent = nullptr);

  void accept() override;

private:
  void chooseFolder();
  // The suffix in the number ("1 Tag") and how many rows the days shown would delete.
  void daysChanged(int days);

  Application& app_;
  QCheckBox* enabled_ = nullptr;
  QSpinBox* days_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QLabel* size_ = nullptr;
  QLabel* deletes_ = nullptr;
};

} // namespace meldlux
