// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace meldlux {

class Options;

// "Meldlux einrichten": shown once, beside the running program, when the settings store is
// empty. "Übernehmen" sets the options as chosen; closing it leaves every default as it is.
class FirstStartWindow final : public QDialog {
  Q_OBJECT
public:
  FirstStartWindow(Options& options, QString soundFolder, QWidget* parent = nullptr);

  void accept() override;

private:
  QCheckBox* box(const QString& name, const QString& caption, bool checked);

  Options& options_;
  QString soundFolder_;
  QLineEdit* server_ = nullptr;
  QLineEdit* port_ = nullptr;
  QLineEdit* password_ = nullptr;
  QCheckBox* autoConnect_ = nullptr;
  QCheckBox* alarm_ = nullptr;
  QCheckBox* status_ = nullptr;
  QCheckBox* text_ = nullptr;
  QCheckBox* sa_ = nullptr;
  QCheckBox* lines_ = nullptr;
};

} // namespace meldlux
