// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_settings_window.h"

#include "app/application.h"
#include "base/clock.h"
#include "base/formats.h"
#include "journal/journal_reader.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

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
  days_->setSpecialValueText(QStringLiteral("unbegrenzt"));
  days_->setValue(settings.retentionDays);
  deletes_ = new QLabel(this);
  deletes_->setObjectName(QStringLiteral("deletes"));
  connect(days_, &QSpinBox::valueChanged, this, &JournalSettingsWindow::daysChanged);
  days_->setToolTip(QStringLiteral("Ältere Einträge werden gelöscht; 0 behält alle."));

  folder_ = new QLineEdit(settings.folder, this);
  folder_->setObjectName(QStringLiteral("folder"));
  // The whole path in view: a folder told apart by its last part only is easily the wrong one.
  const QFontMetrics metrics = folder_->fontMetrics();
  folder_->setMinimumWidth(
      std::min(metrics.horizontalAdvance(settings.folder), 90 * metrics.averageCharWidth()) +
      metrics.horizontalAdvance(QStringLiteral("000")));
  size_ = new QLabel(this);
  size_->setObjectName(QStringLiteral("size"));
  const QFileInfo file(app_.journalPath());
  if (file.isFile()) {
    const qint64 bytes = file.size() + QFileInfo(file.filePath() + QStringLiteral("-wal")).size();
    size_->setText(QStringLiteral("Größe auf dem Datenträger: %1 MB")
                       .arg(QLocale(QLocale::German).toString(double(bytes) / 1e6, 'f', 1)));
  } else {
    size_->setText(QStringLiteral("Noch kein Journal vorhanden"));
  }
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
  form->addRow(QString(), deletes_);
  form->addRow(QStringLiteral("Ordner:"), folderRow);
  form->addRow(QString(), size_);
  daysChanged(days_->value());
  form->addRow(buttons);
}

void JournalSettingsWindow::daysChanged(int days) {
  days_->setSuffix(days == 1 ? QStringLiteral(" Tag") : QStringLiteral(" Tage"));
  std::int64_t older = 0;
  if (days > 0 && QFileInfo(app_.journalPath()).isFile()) {
    JournalFilter filter;
    filter.until = app_.clock().now() - days;
    older = JournalReader(app_.journalPath()).count(filter);
  }
  const QString span = days == 1 ? QStringLiteral("1 Tag") : QStringLiteral("%1 Tagen").arg(days);
  deletes_->setText(older > 0 ? QStringLiteral("Bei %1 würden %2 ältere Einträge gelöscht")
                                    .arg(span, formatCount(older))
                              : QString());
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
