// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

namespace meldlux {

class VehicleBoard;

// The board's order: by name, by status (vehicles without one last) or by how long the status
// has held (the oldest first when ascending); ties go by name, so the order never jumps. It keeps
// sorting while statuses come in.
class VehicleBoardSort final : public QSortFilterProxyModel {
  Q_OBJECT
public:
  explicit VehicleBoardSort(VehicleBoard& board, QObject* parent = nullptr);

protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
  VehicleBoard& board_;
};

} // namespace meldlux
