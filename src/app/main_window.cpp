// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/application.h"
#include "app/journal_settings_window.h"
#include "app/supervision_settings_window.h"
#include "display/popup_label_window.h"
#include "history/history_window.h"
#include "options_window/sound_frame_window.h"
#include "options_window/telegram_bar_frame_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace meldlux {

MainWindow::MainWindow(Application& app, QWidget* parent) : QWidget(parent), app_(app) {
  setWindowTitle(Application::caption());
  // Server above Sound on the left, the popup's options on the right, Status across the bottom.
  auto* layout = new QGridLayout(this);
  layout->addWidget(buildServerFrame(), 0, 0);
  layout->addWidget(new SoundFrame(app_.options(), this), 1, 0);
  layout->addWidget(new TelegramBarFrame(app_.options(), app_.popupChoosers(), this), 0, 1, 2, 1);
  layout->addWidget(buildStatusFrame(), 2, 0, 1, 2);
  layout->addWidget(buildOwnButtons(), 3, 0, 1, 2);
  layout->setRowStretch(1, 1);
}

MainWindow::~MainWindow() = default;

// In the tray menu's order, with the journal's settings, which the menu does not have, before the
// alarm rules.
QWidget* MainWindow::buildOwnButtons() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* board = new QPushButton(QStringLiteral("Fahrzeugstatus"), row);
  board->setObjectName(QStringLiteral("cmdFahrzeugstatus"));
  connect(board, &QPushButton::clicked, this, &MainWindow::boardRequested);
  auto* history = new QPushButton(QStringLiteral("Verlauf"), row);
  history->setObjectName(QStringLiteral("cmdHistory"));
  connect(history, &QPushButton::clicked, this, &MainWindow::showHistory);
  auto* journal = new QPushButton(QStringLiteral("Journal …"), row);
  journal->setObjectName(QStringLiteral("cmdJournal"));
  connect(journal, &QPushButton::clicked, this, &MainWindow::showJournalSettings);
  auto* supervision = new QPushButton(QStringLiteral("Überwachung …"), row);
  supervision->setObjectName(QStringLiteral("cmdUeberwachung"));
  connect(supervision, &QPushButton::clicked, this, &MainWindow::showSupervisionSettings);
  layout->addWidget(board);
  auto* rules = new QPushButton(QStringLiteral("Alarmregeln"), row);
  rules->setObjectName(QStringLiteral("cmdAlarmregeln"));
  connect(rules, &QPushButton::clicked, this, &MainWindow::rulesRequested);
  layout->addWidget(history);
  layout->addWidget(rules);
  layout->addWidget(journal);
  layout->addWidget(supervision);
  layout->addStretch();
  return row;
}

void MainWindow::showHistory() {
  if (!history_) {
    history_ =
        std::make_unique<HistoryWindow>(app_.clock(), app_.journalPath(), app_.messageBoxes());
    connect(&app_, &Application::journalWritten, history_.get(), &HistoryWindow::journalWritten);
    connect(&app_, &Application::journalFileChanged, history_.get(),
            &HistoryWindow::setJournalPath);
  }
  history_->show();
  history_->raise();
  history_->activateWindow();
}

void MainWindow::showSupervisionSettings() {
  SupervisionSettingsWindow dialog(app_, this);
  dialog.exec();
}

void MainWindow::showJournalSettings() {
  JournalSettingsWindow dialog(app_, this);
  dialog.exec();
}

QWidget* MainWindow::buildServerFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Server"), this);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("Adresse:"), bindText(Text::txtSrv, QStringLiteral("txtSrv")));
  form->addRow(QStringLiteral("Port:"), bindText(Text::txtSrvPort, QStringLiteral("txtSrvPort")));

  txtPW_ = bindText(Text::txtPW, QStringLiteral("txtPW"));
  txtPW_->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
  txtPW_->installEventFilter(this); // double-click switches the masking
  showPasswordChar();
  connect(&app_.options(), &Options::passwordCharChanged, this, &MainWindow::showPasswordChar);
  form->addRow(QStringLiteral("Paßwort:"), txtPW_);

  txtKeepalive_ = bindText(Text::txtKeepalive, QStringLiteral("txtKeepalive"));
  txtKeepalive_->setToolTip(QStringLiteral(
      "Intervall (in Sek.) in dem die Verbindung überprüft wird. 0 zum Deaktiveren."));
  txtKeepalive_->installEventFilter(this); // leaving the box keeps the value in range
  form->addRow(QStringLiteral("Keepalive:"), txtKeepalive_);

  chkAuto_ = new QCheckBox(QStringLiteral("Autom. Verb."), frame);
  chkAuto_->setObjectName(QStringLiteral("chkAuto"));
  chkAuto_->setChecked(app_.options().checked(Check::chkAuto));
  connect(chkAuto_, &QCheckBox::clicked, this,
          [this](bool on) { app_.options().setChecked(Check::chkAuto, on); });
  connect(&app_.options(), &Options::clicked, this, [this](Check box) {
    if (box == Check::chkAuto)
      chkAuto_->setChecked(app_.options().checked(Check::chkAuto));
  });

  cmdStatus_ = new QPushButton(app_.link().buttonCaption(), frame);
  cmdStatus_->setObjectName(QStringLiteral("cmdStatus"));
  connect(cmdStatus_, &QPushButton::clicked, this, [this] { app_.link().cmdStatus_Click(); });
  connect(&app_.link(), &ConnectionManager::buttonCaptionChanged, this,
          [this] { cmdStatus_->setText(app_.link().buttonCaption()); });

  auto* row = new QHBoxLayout;
  row->addWidget(chkAuto_);
  row->addStretch();
  row->addWidget(cmdStatus_);
  form->addRow(row);
  return frame;
}

QWidget* MainWindow::buildStatusFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Status"), this);
  auto* layout = new QVBoxLayout(frame);
  lblStatus_ = new QLabel(frame);
  lblStatus_->setObjectName(QStringLiteral("lblStatus"));
  layout->addWidget(lblStatus_);
  showStatus();
  connect(&app_.statusLabel(), &StatusLabel::changed, this, &MainWindow::showStatus);
  return frame;
}

QLineEdit* MainWindow::bindText(Text box, const QString& objectName) {
  auto* edit = new QLineEdit(app_.options().text(box), this);
  edit->setObjectName(objectName);
  connect(edit, &QLineEdit::textEdited, this,
          [this, box](const QString& text) { app_.options().setText(box, text); });
  // The model may change the text itself (its change rules, the loader): the box follows.
  connect(&app_.options(), &Options::textChanged, edit, [this, box, edit](Text changed) {
    if (changed == box && edit->text() != app_.options().text(box))
      edit->setText(app_.options().text(box));
  });
  return edit;
}

void MainWindow::showStatus() {
  lblStatus_->setText(app_.statusLabel().caption());
  QPalette palette = lblStatus_->palette();
  palette.setColor(QPalette::WindowText, toQColor(app_.statusLabel().colour()));
  lblStatus_->setPalette(palette);
}

void MainWindow::showPasswordChar() {
  txtPW_->setEchoMode(app_.options().passwordChar().isEmpty() ? QLineEdit::Normal
                                                              : QLineEdit::Password);
}

namespace {

// Leaving a box means giving the focus to another control. The window losing activation, or a
// menu (the box's own context menu, the menu bar) taking the keyboard for a while, leaves the
// box holding the focus as far as the user is concerned.
bool focusWentToAnotherControl(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
         reason != Qt::MenuBarFocusReason;
}

} // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtPW_ && event->type() == QEvent::MouseButtonDblClick)
    app_.options().txtPW_DblClick();
  else if (watched == txtKeepalive_ && event->type() == QEvent::FocusOut &&
           focusWentToAnotherControl(static_cast<QFocusEvent*>(event)->reason()))
    app_.options().txtKeepalive_LostFocus();
  return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Ending the program: the settings are saved first, while the window still is what the user
  // saw; then the tray icon is removed and the link says goodbye to the server.
  app_.Form_Unload(isVisible());
  event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange)
    app_.Form_Resize(); // minimised into the tray, or back
}

} // namespace meldlux
