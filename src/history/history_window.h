// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/history_colour_qt.h"
#include "history/history_model.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QThread;

namespace meldlux {

class Clock;
class MessageBoxes;

// "Verlauf": the journal, newest first (a click on the header turns it), with a kind, a search and
// a span of time to narrow it, and an export of what it shows. Typing anywhere in the table goes
// to the search; Enter copies the current row; Escape closes the window.
class HistoryWindow final : public QWidget {
  Q_OBJECT
public:
  // `boxes` tells a failed export.
  HistoryWindow(const Clock& clock, const QString& journalPath, MessageBoxes& boxes,
                QWidget* parent = nullptr);
  ~HistoryWindow() override;

  HistoryModel& model() { return model_; }
  // Writes what the filter shows to a CSV file on a thread of its own, so that a long journal
  // never holds the strip; exported() tells how it went.
  void startExport(const QString& file);
  // Where the export goes unless the user says otherwise: the documents folder, dated.
  QString suggestedExportFile() const;
  // The query from the controls, now rather than after the typing pause.
  void applyQuery();

public Q_SLOTS:
  void journalWritten() { model_.journalWritten(); }
  void setJournalPath(const QString& path) { model_.setJournalPath(path); }

Q_SIGNALS:
  // An export has ended: the error text, empty when the file was written whole.
  void exported(const QString& error);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  QWidget* buildFilterRow(const Clock& clock);
  void chooseExportFile();
  void exportEnded(const QString& error);
  void copyCurrentRow();
  void showState();

  const Clock& clock_;
  MessageBoxes& boxes_;
  HistoryModel model_;
  HistoryColourProxy colours_;
  QLineEdit* search_ = nullptr;
  QComboBox* kind_ = nullptr;
  QCheckBox* marked_ = nullptr;
  QComboBox* span_ = nullptr;
  // The span's ends as typed: "6.12.2026 06:00", "6.12.", "06:00".
  QLineEdit* first_ = nullptr;
  QLineEdit* last_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* state_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QThread* exporting_ = nullptr;
  QString exportFile_;
  QString exportDone_; // the line that tells where the last export went
  QString refusal_;    // why the span typed is not taken; the table keeps what it showed
  QTimer typingPause_;
};

} // namespace meldlux
