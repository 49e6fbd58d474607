// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/vehicle_board_window.h"

#include "board/status_cell_delegate_qt.h"
#include "board/timeline_delegate_qt.h"
#include "board/vehicle_board.h"
#include "board/vehicle_board_sort.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace meldlux {

VehicleBoardWindow::VehicleBoardWindow(VehicleBoard& board, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Fahrzeugstatus"));
  setObjectName(QStringLiteral("frmFahrzeugstatus"));
  sort_ = new VehicleBoardSort(board, this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("tblFahrzeugstatus"));
  table_->setModel(sort_);
  table_->setItemDelegateForColumn(VehicleBoard::Status, new StatusCellDelegate(table_));
  table_->setItemDelegateForColumn(VehicleBoard::Day, new TimelineDelegate(table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setAlternatingRowColors(true);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
  QHeaderView* head = table_->horizontalHeader();
  head->setSectionResizeMode(VehicleBoard::Name, QHeaderView::Interactive);
  head->setSectionResizeMode(VehicleBoard::Status, QHeaderView::Interactive);
  head->setSectionResizeMode(VehicleBoard::Since, QHeaderView::Interactive);
  head->setSectionResizeMode(VehicleBoard::Day, QHeaderView::Stretch);
  const int em = table_->fontMetrics().horizontalAdvance(QLatin1Char('M'));
  table_->setColumnWidth(VehicleBoard::Name, 22 * em);
  table_->setColumnWidth(VehicleBoard::Status, 20 * em);
  table_->setColumnWidth(VehicleBoard::Since, 12 * em);
  table_->setSortingEnabled(true);
  table_->sortByColumn(VehicleBoard::Name, Qt::AscendingOrder);

  auto* hint =
      new QLabel(QStringLiteral("Balken: links vor 24 Stunden, rechts jetzt; kurze Striche "
                                "jede Stunde, lange alle 6 Stunden; die Maus über dem "
                                "Balken zeigt Status und Zeit."),
                 this);
  hint->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(hint);
  resize(100 * em, 50 * em);
}

void VehicleBoardWindow::showInFront() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

} // namespace meldlux
