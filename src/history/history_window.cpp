// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_window.h"

#include "base/clock.h"
#include "base/formats.h"
#include "history/history_export.h"
#include "refdata/message_boxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>
#include <memory>

namespace meldlux {

namespace {

constexpr JournalKind kKinds[] = {JournalKind::FmsVehicle, JournalKind::FmsControl,
                                  JournalKind::Zvei,       JournalKind::Pocsag,
                                  JournalKind::Text,       kJournalLoadFault};

} // namespace

HistoryWindow::HistoryWindow(const Clock& clock, const QString& journalPath, MessageBoxes& boxes,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), clock_(clock), boxes_(boxes), model_(clock, journalPath) {
  setWindowTitle(QStringLiteral("Verlauf"));
  setObjectName(QStringLiteral("Verlauf"));
  resize(1000, 560);
  colours_.setSourceModel(&model_);

  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("table"));
  table_->setModel(&colours_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setAlternatingRowColors(true);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  // Fixed row heights and column widths: the view never measures the rows it has not shown.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setStretchLastSection(true);
  // The text, as the strip showed it, is what a search looks for: it gets the room left over.
  const QFontMetrics metrics = table_->fontMetrics();
  const int pad = metrics.horizontalAdvance(QStringLiteral("0000"));
  table_->setColumnWidth(HistoryModel::Time,
                         metrics.horizontalAdvance(QStringLiteral("00.00.0000 00:00:00")) + pad);
  table_->setColumnWidth(HistoryModel::Kind,
                         metrics.horizontalAdvance(historyKindCaption(JournalKind::FmsControl)) +
                             pad);
  table_->setColumnWidth(HistoryModel::Identifier,
                         metrics.horizontalAdvance(QStringLiteral("0000000 [D]")) + pad);
  table_->setColumnWidth(HistoryModel::Name, metrics.horizontalAdvance(u'0') * 16);
  table_->horizontalHeader()->setSortIndicator(HistoryModel::Time, Qt::DescendingOrder);
  table_->setSortingEnabled(true);
  connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
          [this](int column, Qt::SortOrder order) {
            if (column != HistoryModel::Time) // every column sorts by time: show it there
              table_->horizontalHeader()->setSortIndicator(HistoryModel::Time, order);
          });
  table_->installEventFilter(this);

  state_ = new QLabel(this);
  state_->setObjectName(QStringLiteral("state"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildFilterRow(clock));
  layout->addWidget(table_, 1);
  layout->addWidget(state_);

  typingPause_.setSingleShot(true);
  typingPause_.setInterval(250);
  connect(&typingPause_, &QTimer::timeout, this, &HistoryWindow::applyQuery);
  connect(&model_, &QAbstractItemModel::modelReset, this, &HistoryWindow::showState);
  connect(&model_, &QAbstractItemModel::rowsInserted, this, &HistoryWindow::showState);
  connect(&model_, &HistoryModel::searchingChanged, this, &HistoryWindow::showState);
  connect(&model_, &HistoryModel::errorChanged, this, &HistoryWindow::showState);
  connect(&model_, &HistoryModel::matchingChanged, this, &HistoryWindow::showState);
  connect(this, &HistoryWindow::exported, this, &HistoryWindow::exportEnded);
  showState();
}

HistoryWindow::~HistoryWindow() {
  if (exporting_) { // the file is written whole or not at all; the export may not outlive us
    exporting_->wait();
    delete exporting_;
  }
}

QWidget* HistoryWindow::buildFilterRow(const Clock& clock) {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  search_ = new QLineEdit(row);
  search_->setObjectName(QStringLiteral("search"));
  search_->setPlaceholderText(QStringLiteral("Suchen: Name, Kennung, Text"));
  search_->setClearButtonEnabled(true);
  search_->installEventFilter(this);
  connect(search_, &QLineEdit::textChanged, this, [this] { typingPause_.start(); });

  kind_ = new QComboBox(row);
  kind_->setObjectName(QStringLiteral("kind"));
  kind_->addItem(QStringLiteral("Alle Arten"));
  kind_->addItem(QStringLiteral("Alarme"),
                 QVariantList{int(JournalKind::Zvei), int(JournalKind::Pocsag)});
  for (JournalKind kind : kKinds)
    kind_->addItem(historyKindCaption(kind), QVariantList{int(kind)});
  kind_->addItem(QStringLiteral("Störungen"), QVariantList{int(kJournalSupervision)});

  span_ = new QComboBox(row);
  span_->setObjectName(QStringLiteral("span"));
  span_->addItem(QStringLiteral("Gesamter Zeitraum"), int(HistorySpan::All));
  span_->addItem(QStringLiteral("Heute"), int(HistorySpan::Today));
  span_->addItem(QStringLiteral("Letzte 24 Stunden"), int(HistorySpan::Last24Hours));
  span_->addItem(QStringLiteral("Zeitraum wählen"), int(HistorySpan::Chosen));

  const QDate today = fromOleDate(clock.now()).date();
  auto dateEdit = [&](const QString& name, const QString& text) {
    auto* edit = new QLineEdit(text, row);
    edit->setObjectName(name);
    edit->setPlaceholderText(QStringLiteral("TT.MM.JJJJ hh:mm"));
    edit->setToolTip(QStringLiteral(
        "Ein Tag, ein Tag mit Uhrzeit (6.12.2026 06:00) oder eine Uhrzeit von heute"));
    const int wide = edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000 00:00"));
    edit->setMinimumWidth(wide + edit->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    // Taken when typed whole (Enter or leaving the field), never half typed.
    connect(edit, &QLineEdit::editingFinished, this, [this] {
      if (HistorySpan(span_->currentData().toInt()) != HistorySpan::Chosen)
        span_->setCurrentIndex(span_->findData(int(HistorySpan::Chosen))); // applies it
      else
        applyQuery();
    });
    return edit;
  };
  const QString format = QStringLiteral("dd.MM.yyyy");
  first_ = dateEdit(QStringLiteral("first"), today.addDays(-7).toString(format));
  last_ = dateEdit(QStringLiteral("last"), today.toString(format));

  marked_ = new QCheckBox(QStringLiteral("Wiederholungen und Gefilterte"), row);
  marked_->setObjectName(QStringLiteral("marked"));
  marked_->setToolTip(QStringLiteral("Auch Telegramme zeigen, die die Leiste als Wiederholung oder "
                                     "wegen „Anzeigen“ nicht gezeigt hat (grau)"));
  marked_->setChecked(true);
  connect(marked_, &QCheckBox::toggled, this, &HistoryWindow::applyQuery);

  exportButton_ = new QPushButton(QStringLiteral("Exportieren …"), row);
  exportButton_->setObjectName(QStringLiteral("export"));
  exportButton_->setToolTip(QStringLiteral("Was die Tabelle zeigt, als CSV-Datei für Tabellenkalkulationen"));
  connect(exportButton_, &QPushButton::clicked, this, &HistoryWindow::chooseExportFile);

  connect(kind_, &QComboBox::currentIndexChanged, this, &HistoryWindow::applyQuery);
  connect(span_, &QComboBox::currentIndexChanged, this, &HistoryWindow::applyQuery);

  layout->addWidget(search_, 1);
  layout->addWidget(kind_);
  layout->addWidget(span_);
  layout->addWidget(new QLabel(QStringLiteral("ab"), row));
  layout->addWidget(first_);
  layout->addWidget(new QLabel(QStringLiteral("bis"), row));
  layout->addWidget(last_);
  layout->addWidget(marked_);
  layout->addWidget(exportButton_);
  return row;
}

void HistoryWindow::applyQuery() {
  typingPause_.stop();
  exportDone_.clear();
  HistoryQuery q;
  for (const QVariant& kind : kind_->currentData().toList())
    q.kinds << JournalKind(kind.toInt());
  q.text = search_->text();
  q.span = HistorySpan(span_->currentData().toInt());
  q.shownOnly = !marked_->isChecked();
  refusal_.clear();
  if (q.span == HistorySpan::Chosen) {
    const QDate today = fromOleDate(clock_.now()).date();
    const std::optional<TypedMoment> first = parseTypedMoment(first_->text(), today);
    const std::optional<TypedMoment> last = parseTypedMoment(last_->text(), today);
    if (!first || !last) {
      refusal_ = QStringLiteral("Kein Datum: %1").arg(first ? last_->text() : first_->text());
    } else {
      q.firstDay = first->day;
      q.firstTime = first->time;
      q.lastDay = last->day;
      q.lastTime = last->time;
      if (q.backwards())
        refusal_ = QStringLiteral("Das Ende des Zeitraums liegt vor seinem Anfang");
    }
  }
  if (!refusal_.isEmpty())
    showState();
  else
    model_.setQuery(q);
}

void HistoryWindow::showState() {
  if (exporting_) {
    state_->setText(QStringLiteral("Exportiere nach %1 …").arg(QDir::toNativeSeparators(exportFile_)));
    return;
  }
  if (!refusal_.isEmpty()) {
    state_->setText(refusal_);
    return;
  }
  if (!exportDone_.isEmpty()) { // until the next query: the user may look away meanwhile
    state_->setText(exportDone_);
    return;
  }
  const QString error = model_.error();
  if (!error.isEmpty()) {
    state_->setText(error);
    return;
  }
  const int rows = model_.rowCount();
  if (model_.searching())
    state_->setText(QStringLiteral("Suche läuft … %1 Einträge gefunden").arg(formatCount(rows)));
  else if (rows == 0)
    state_->setText(QStringLiteral("Keine Einträge"));
  else if (model_.matching() >= 0)
    state_->setText(QStringLiteral("%1 Einträge").arg(formatCount(model_.matching())));
  else
    state_->setText(
        QStringLiteral("%1 Einträge geladen, weitere beim Blättern").arg(formatCount(rows)));
}

void HistoryWindow::startExport(const QString& file) {
  if (exporting_)
    return;
  exportFile_ = file;
  exportButton_->setEnabled(false);
  exportDone_.clear();
  auto error = std::make_shared<QString>();
  auto rows = std::make_shared<std::int64_t>(0);
  exporting_ =
      QThread::create([path = model_.journalPath(), filter = model_.filter(), file, error, rows] {
        *error = HistoryExport::toFile(path, filter, file, *rows);
      });
  connect(exporting_, &QThread::finished, this, [this, error, rows] {
    exporting_->wait(); // finished comes from the thread's last steps
    delete exporting_;
    exporting_ = nullptr;
    exportButton_->setEnabled(true);
    if (error->isEmpty())
      exportDone_ = QStringLiteral("%1 Einträge nach %2 exportiert")
                        .arg(formatCount(*rows), QDir::toNativeSeparators(exportFile_));
    showState();
    Q_EMIT exported(*error);
  });
  exporting_->start();
  showState();
}

void HistoryWindow::exportEnded(const QString& error) {
  if (!error.isEmpty())
    boxes_.show(QStringLiteral("Verlauf exportieren"),
                QStringLiteral("Die Datei konnte nicht geschrieben werden:\n") + error,
                MessageBoxes::Icon::Error);
}

QString HistoryWindow::suggestedExportFile() const {
  const QString day = fromOleDate(clock_.now()).date().toString(QStringLiteral("yyyy-MM-dd"));
  return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
      .filePath(QStringLiteral("Verlauf_%1.csv").arg(day));
}

void HistoryWindow::chooseExportFile() {
  const QString file =
      QFileDialog::getSaveFileName(this, QStringLiteral("Verlauf exportieren"),
                                   suggestedExportFile(), QStringLiteral("CSV-Dateien (*.csv)"));
  if (!file.isEmpty())
    startExport(file);
}

void HistoryWindow::copyCurrentRow() {
  const QModelIndex current = table_->currentIndex();
  if (current.isValid())
    QApplication::clipboard()->setText(model_.rowText(current.row()));
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
    close(); // what no control inside took
  else
    QWidget::keyPressEvent(event);
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress)
    return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (watched == table_) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      copyCurrentRow();
      return true;
    }
    const QString text = key->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                       !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typed) {
      search_->setFocus(Qt::ShortcutFocusReason);
      search_->insert(text);
      return true;
    }
  } else if (watched == search_ && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Return ||
                                    key->key() == Qt::Key_Enter)) {
    applyQuery(); // Enter in the search shows its result at once, then the rows take the keys
    table_->setFocus(Qt::ShortcutFocusReason);
    if (!table_->currentIndex().isValid() && model_.rowCount() > 0)
      table_->setCurrentIndex(colours_.index(0, 0));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

} // namespace meldlux
