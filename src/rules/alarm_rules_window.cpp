// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/alarm_rules_window.h"

#include "rules/alarm_station.h"
#include "settings/settings_store.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace meldlux {

namespace {

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  return b;
}

QSpinBox* spin(int low, int high, const QString& suffix, QWidget* parent) {
  auto* s = new QSpinBox(parent);
  s->setRange(low, high);
  s->setSuffix(suffix);
  return s;
}

} // namespace

AlarmRulesWindow::AlarmRulesWindow(AlarmStation& station, SettingsStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window), station_(station), store_(store) {
  setWindowTitle(QStringLiteral("Alarmregeln"));
  auto* layout = new QVBoxLayout(this);

  auto* ruleBox = new QGroupBox(QStringLiteral("Regeln (ART:MUSTER|AKTIONEN|TEXT)"), this);
  auto* ruleLayout = new QVBoxLayout(ruleBox);
  rules_ = new QListWidget(ruleBox);
  rules_->setObjectName(QStringLiteral("lstRegeln"));
  note_ = new QLabel(ruleBox);
  note_->setObjectName(QStringLiteral("lblHinweis"));
  note_->setWordWrap(true);
  note_->setStyleSheet(QStringLiteral("color: #b00000"));
  auto* ruleButtons = new QHBoxLayout;
  auto* add = button(QStringLiteral("Neu"), QStringLiteral("cmdNeu"), ruleBox);
  auto* remove = button(QStringLiteral("Entfernen"), QStringLiteral("cmdEntfernen"), ruleBox);
  auto* test = button(QStringLiteral("Testen"), QStringLiteral("cmdTesten"), ruleBox);
  ruleButtons->addWidget(add);
  ruleButtons->addWidget(remove);
  ruleButtons->addStretch();
  ruleButtons->addWidget(test);
  ruleLayout->addWidget(rules_);
  ruleLayout->addWidget(note_);
  ruleLayout->addLayout(ruleButtons);
  ruleLayout->addWidget(new QLabel(
      QStringLiteral("ART: ZVEI, POCSAG, FMS, TEXT · AKTIONEN: sprechen, monitor, ton=DATEI · "
                     "Felder: {zeit} {code} {name} {text} {status}"),
      ruleBox));
  layout->addWidget(ruleBox, 2);

  auto* lower = new QHBoxLayout;
  auto* speechBox = new QGroupBox(QStringLiteral("Sprache"), this);
  auto* form = new QFormLayout(speechBox);
  voice_ = new QLineEdit(speechBox);
  rate_ = spin(80, 300, QStringLiteral(" Wörter/min"), speechBox);
  volume_ = spin(0, 200, QStringLiteral(" %"), speechBox);
  repeat_ = spin(1, 5, QStringLiteral(" mal"), speechBox);
  form->addRow(QStringLiteral("Stimme:"), voice_);
  form->addRow(QStringLiteral("Tempo:"), rate_);
  form->addRow(QStringLiteral("Lautstärke:"), volume_);
  form->addRow(QStringLiteral("Wiederholen:"), repeat_);
  lower->addWidget(speechBox);

  auto* wordBox = new QGroupBox(QStringLiteral("Aussprache"), this);
  auto* wordLayout = new QVBoxLayout(wordBox);
  words_ = new QTableWidget(0, 2, wordBox);
  words_->setHorizontalHeaderLabels({QStringLiteral("Geschrieben"), QStringLiteral("Gesprochen")});
  words_->horizontalHeader()->setStretchLastSection(true);
  words_->verticalHeader()->hide();
  auto* wordButtons = new QHBoxLayout;
  auto* addWord = button(QStringLiteral("Wort hinzufügen"), QStringLiteral("cmdWortNeu"), wordBox);
  auto* removeWord =
      button(QStringLiteral("Wort entfernen"), QStringLiteral("cmdWortEntfernen"), wordBox);
  wordButtons->addWidget(addWord);
  wordButtons->addWidget(removeWord);
  wordLayout->addWidget(words_);
  wordLayout->addLayout(wordButtons);
  lower->addWidget(wordBox, 1);
  layout->addLayout(lower, 2);

  auto* bottom = new QHBoxLayout;
  auto* saveButton = button(QStringLiteral("Speichern"), QStringLiteral("cmdSpeichern"), this);
  auto* close = button(QStringLiteral("Schließen"), QStringLiteral("cmdSchliessen"), this);
  bottom->addStretch();
  bottom->addWidget(saveButton);
  bottom->addWidget(close);
  layout->addLayout(bottom);

  connect(add, &QPushButton::clicked, this, [this] {
    auto* item = new QListWidgetItem(
        QStringLiteral("POCSAG:1234567|sprechen,monitor|Alarm für {name}. {text}"), rules_);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    rules_->setCurrentItem(item);
    rules_->editItem(item);
  });
  connect(remove, &QPushButton::clicked, this, [this] { delete rules_->currentItem(); });
  connect(test, &QPushButton::clicked, this, &AlarmRulesWindow::testChosen);
  connect(addWord, &QPushButton::clicked, this, [this] { words_->insertRow(words_->rowCount()); });
  connect(removeWord, &QPushButton::clicked, this, [this] {
    if (words_->currentRow() >= 0)
      words_->removeRow(words_->currentRow());
  });
  connect(saveButton, &QPushButton::clicked, this, &AlarmRulesWindow::save);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(rules_, &QListWidget::currentRowChanged, this, &AlarmRulesWindow::showNote);
  connect(rules_, &QListWidget::itemChanged, this, &AlarmRulesWindow::showNote);
  resize(760, 520);
  fill();
}

void AlarmRulesWindow::fill() {
  rules_->clear();
  for (const AlarmRule& rule : station_.rules().rules()) {
    auto* item = new QListWidgetItem(rule.source, rules_);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
  }
  const SpeechSettings& speech = station_.speech().settings();
  voice_->setText(speech.voice);
  rate_->setValue(speech.rate);
  volume_->setValue(speech.volume);
  repeat_->setValue(speech.repeat);
  words_->setRowCount(0);
  for (const auto& [written, spoken] : station_.words().table()) {
    const int row = words_->rowCount();
    words_->insertRow(row);
    words_->setItem(row, 0, new QTableWidgetItem(written));
    words_->setItem(row, 1, new QTableWidgetItem(spoken));
  }
  if (rules_->count() > 0)
    rules_->setCurrentRow(0);
  showNote();
}

void AlarmRulesWindow::showNote() {
  const QListWidgetItem* item = rules_->currentItem();
  const AlarmRule rule =
      AlarmRule::parse(rules_->currentRow() + 1, item ? item->text() : QString());
  note_->setText(item && !rule.usable()
                     ? QStringLiteral("Diese Regel ist ausgeschaltet: ") + rule.fault
                     : QString());
}

void AlarmRulesWindow::save() {
  QStringList lines;
  for (int i = 0; i < rules_->count(); ++i)
    lines << rules_->item(i)->text();
  SpeechSettings speech = station_.speech().settings();
  speech.voice = voice_->text().trimmed();
  speech.rate = rate_->value();
  speech.volume = volume_->value();
  speech.repeat = repeat_->value();
  std::vector<SpokenWords::Pair> table;
  for (int row = 0; row < words_->rowCount(); ++row) {
    const auto text = [&](int column) {
      const QTableWidgetItem* cell = words_->item(row, column);
      return cell ? cell->text().trimmed() : QString();
    };
    if (!text(0).isEmpty())
      table.emplace_back(text(0), text(1));
  }
  const int chosen = rules_->currentRow();
  station_.save(store_, lines, speech, SpokenWords(std::move(table)));
  fill();
  rules_->setCurrentRow(chosen);
}

void AlarmRulesWindow::testChosen() {
  const int chosen = rules_->currentRow();
  if (chosen < 0)
    return;
  save();
  // Empty lines are dropped on saving: the chosen rule is found by its place among the rest.
  const auto& rules = station_.rules().rules();
  if (std::size_t(chosen) >= rules.size())
    return;
  const QString fault = station_.test(rules[std::size_t(chosen)]);
  note_->setText(fault.isEmpty() ? QString() : QStringLiteral("Test nicht möglich: ") + fault);
}

void AlarmRulesWindow::showInFront() {
  fill();
  show();
  raise();
  activateWindow();
}

} // namespace meldlux
