// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_settings_window.h"

#include "app/application.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace meldlux {

JournalSettingsWindow::JournalSettingsWindow(Application& app, QWidget* parent)
    : QDialog(parent), app_(app) {
  setWindowTitle(QStringLiteral("Journal"));
  const JournalSettings settings = app_.journalSettings();

  enabled_ = new QCheckBox(QStringLiteral("Empfangene Meldungen im Journal speichern"), this);
  enabled_->setObjectName(QStringLiteral("enabled"));
  enabled_->setChecked(settings.enabled);

  days_ = new QSpinBox(this);
  days_->setObjectName(QStringLiteral("retentionDays"));
  days_->setRange(0, 36500);
  days_->setSuffix(QStringLiteral(" Tage"));
  days_->setSpecialValueText(QStringLiteral("unbegrenzt"));
  days_->setValue(settings.retentionDays);
  days_->setToolTip(QStringLiteral("Ältere Einträge werden gelöscht; 0 behält alle."));

  folder_ = new QLineEdit(settings.folder, this);
  folder_->setObjectName(QStringLiteral("folder"));
  auto* browse = new QPushButton(QStringLiteral("Durchsuchen …"), this);
  connect(browse, &QPushButton::clicked, this, &JournalSettingsWindow::chooseFolder);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folder_, 1);
  folderRow->addWidget(browse);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow(enabled_);
  form->addRow(QStringLiteral("Aufbewahren:"), days_);
  form->addRow(QStringLiteral("Ordner:"), folderRow);
  form->addRow(buttons);
}

void JournalSettingsWindow::chooseFolder() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, QStringLiteral("Ordner für das Journal"), folder_->text());
  if (!chosen.isEmpty())
    folder_->setText(chosen);
}

void JournalSettingsWindow::accept() {
  app_.setJournalSettings(enabled_->isChecked(), days_->value(), folder_->text());
  QDialog::accept();
}

} // namespace meldlux
