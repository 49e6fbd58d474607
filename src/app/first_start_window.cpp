// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/first_start_window.h"

#include "app/first_start.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace meldlux {

FirstStartWindow::FirstStartWindow(Options& options, QString soundFolder, QWidget* parent)
    : QDialog(parent), options_(options), soundFolder_(std::move(soundFolder)) {
  setWindowTitle(QStringLiteral("Meldlux einrichten"));
  setObjectName(QStringLiteral("firstStart"));
  const FirstStartChoice offered = FirstStartChoice::offeredFor(options_);

  auto edit = [this](const QString& name, const QString& text) {
    auto* e = new QLineEdit(text, this);
    e->setObjectName(name);
    return e;
  };
  server_ = edit(QStringLiteral("server"), offered.server);
  port_ = edit(QStringLiteral("port"), offered.port);
  password_ = edit(QStringLiteral("password"), offered.password);
  password_->setEchoMode(QLineEdit::Password);

  autoConnect_ = box(QStringLiteral("autoConnect"),
                     QStringLiteral("Automatisch verbinden und nach einer Störung neu verbinden"),
                     offered.autoConnect);
  alarm_ = box(QStringLiteral("alarmSound"), QStringLiteral("Ton bei Alarmierung (ZVEI, POCSAG)"),
               offered.alarmSound);
  status_ = box(QStringLiteral("statusSound"), QStringLiteral("Ton bei Fahrzeugstatus"),
                offered.statusSound);
  text_ = box(QStringLiteral("textSound"), QStringLiteral("Ton bei Textmeldung der Leitstelle"),
              offered.textSound);
  sa_ = box(QStringLiteral("saSound"), QStringLiteral("Ton bei Sprechaufforderung"),
            offered.sprechaufforderungSound);
  lines_ = box(QStringLiteral("threeLines"),
               QStringLiteral("Drei Zeilen in der Telegrammleiste, am unteren Bildschirmrand"),
               offered.threeLinesAtBottom);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Übernehmen"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Später"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* intro = new QLabel(QStringLiteral("Willkommen! Mit diesen Angaben verbindet sich Meldlux "
                                          "mit dem Server und meldet Alarme hörbar. Alles lässt "
                                          "sich später im Optionsfenster ändern."),
                           this);
  intro->setWordWrap(true);
  auto* form = new QFormLayout(this);
  form->addRow(intro);
  form->addRow(QStringLiteral("Server:"), server_);
  form->addRow(QStringLiteral("Port:"), port_);
  form->addRow(QStringLiteral("Passwort:"), password_);
  for (QCheckBox* b : {autoConnect_, alarm_, status_, text_, sa_, lines_})
    form->addRow(b);
  form->addRow(buttons);
}

QCheckBox* FirstStartWindow::box(const QString& name, const QString& caption, bool checked) {
  auto* b = new QCheckBox(caption, this);
  b->setObjectName(name);
  b->setChecked(checked);
  return b;
}

void FirstStartWindow::accept() {
  FirstStartChoice c;
  c.server = server_->text();
  c.port = port_->text();
  c.password = password_->text();
  c.autoConnect = autoConnect_->isChecked();
  c.alarmSound = alarm_->isChecked();
  c.statusSound = status_->isChecked();
  c.textSound = text_->isChecked();
  c.sprechaufforderungSound = sa_->isChecked();
  c.threeLinesAtBottom = lines_->isChecked();
  applyFirstStart(c, options_, soundFolder_);
  QDialog::accept();
}

} // namespace meldlux
