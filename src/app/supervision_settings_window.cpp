// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/supervision_settings_window.h"

#include "app/application.h"
#include "supervision/watch_settings.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace meldlux {

namespace {

QSpinBox* countBox(const QString& name, int maximum, const QString& suffix, int value,
                   QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(0, maximum);
  box->setSuffix(suffix);
  box->setSpecialValueText(QStringLiteral("aus"));
  box->setValue(value);
  return box;
}

} // namespace

SupervisionSettingsWindow::SupervisionSettingsWindow(Application& app, QWidget* parent)
    : QDialog(parent), app_(app) {
  setWindowTitle(QStringLiteral("Überwachung"));
  const WatchSettings settings = app_.linkWatch().settings();

  connection_ = countBox(QStringLiteral("VerbindungWarnenNach"), 24 * 3600, QStringLiteral(" s"),
                         settings.connectionWarnSeconds, this);
  connection_->setToolTip(
      QStringLiteral("Warnen, wenn die Verbindung zum Server so lange fehlt (0 = aus)."));
  silence_ = countBox(QStringLiteral("StilleWarnenNach"), 24 * 3600, QStringLiteral(" s"),
                      settings.silenceWarnSeconds, this);
  silence_->setToolTip(QStringLiteral("Warnen, wenn der Server so lange keine Zeile sendet "
                                      "(0 = aus; ein Server, der sein Intervall nennt, wird "
                                      "nach drei Intervallen gemeldet)."));
  repeat_ = countBox(QStringLiteral("WarnungWiederholen"), 24 * 60, QStringLiteral(" min"),
                     settings.repeatMinutes, this);
  repeat_->setSpecialValueText(QStringLiteral("nie"));

  expected_ = new QLineEdit(settings.expectedText, this);
  expected_->setObjectName(QStringLiteral("Erwartet"));
  expected_->setPlaceholderText(QStringLiteral("1234567=1500;21001=10080;*=240"));
  expected_->setToolTip(QStringLiteral("Kennung (oder * für jede Meldung) = Minuten, getrennt "
                                       "durch Semikolon"));
  expectedProblems_ = new QLabel(this);
  expectedProblems_->setObjectName(QStringLiteral("expectedProblems"));
  expectedProblems_->setWordWrap(true);
  connect(expected_, &QLineEdit::textChanged, this, &SupervisionSettingsWindow::expectedChanged);

  sound_ = new QLineEdit(settings.soundFile, this);
  sound_->setObjectName(QStringLiteral("WarnungSound"));
  sound_->setPlaceholderText(QStringLiteral("mitgelieferter Warnton"));
  auto* browse = new QPushButton(QStringLiteral("Durchsuchen …"), this);
  connect(browse, &QPushButton::clicked, this, &SupervisionSettingsWindow::chooseSound);
  auto* soundRow = new QHBoxLayout;
  soundRow->addWidget(sound_, 1);
  soundRow->addWidget(browse);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Keine Verbindung, warnen nach:"), connection_);
  form->addRow(QStringLiteral("Server schweigt, warnen nach:"), silence_);
  form->addRow(QStringLiteral("Erwartete Meldungen:"), expected_);
  form->addRow(QString(), expectedProblems_);
  form->addRow(QStringLiteral("Warnung wiederholen alle:"), repeat_);
  form->addRow(QStringLiteral("Warnton:"), soundRow);
  form->addRow(buttons);
  expectedChanged();
}

void SupervisionSettingsWindow::expectedChanged() {
  QStringList problems;
  parseExpected(expected_->text(), &problems);
  expectedProblems_->setText(problems.isEmpty()
                                 ? QString()
                                 : QStringLiteral("Nicht verwendet: ") + problems.join(u"; "));
}

void SupervisionSettingsWindow::chooseSound() {
  const QString file = QFileDialog::getOpenFileName(
      this, QStringLiteral("Warnton auswählen"), QFileInfo(sound_->text()).absolutePath(),
      QStringLiteral("Tondateien (*.wav)"));
  if (!file.isEmpty())
    sound_->setText(file);
}

void SupervisionSettingsWindow::accept() {
  WatchSettings settings;
  settings.connectionWarnSeconds = connection_->value();
  settings.silenceWarnSeconds = silence_->value();
  settings.repeatMinutes = repeat_->value();
  settings.expectedText = expected_->text().trimmed();
  settings.soundFile = sound_->text().trimmed();
  app_.setWatchSettings(settings);
  QDialog::accept();
}

} // namespace meldlux
