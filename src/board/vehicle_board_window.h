// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTableView;

namespace meldlux {

class VehicleBoard;
class VehicleBoardSort;

// "Fahrzeugstatus": the board as a table, sorted by a click on a column's head (by name at
// first). It only shows the board; the board keeps itself up to date.
class VehicleBoardWindow final : public QWidget {
  Q_OBJECT
public:
  explicit VehicleBoardWindow(VehicleBoard& board, QWidget* parent = nullptr);

  // Shows the window, or brings it back to the front when it is already open.
  void showInFront();
  QTableView* table() const { return table_; }

private:
  VehicleBoardSort* sort_ = nullptr;
  QTableView* table_ = nullptr;
};

} // namespace meldlux
