// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
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

  Application& app_;
  QCheckBox* enabled_ = nullptr;
  QSpinBox* days_ = nullptr;
  QLineEdit* folder_ = nullptr;
};

} // namespace meldlux
