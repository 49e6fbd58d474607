// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/vehicle_board_sort.h"

#include "board/vehicle_board.h"

namespace meldlux {

VehicleBoardSort::VehicleBoardSort(VehicleBoard& board, QObject* parent)
    : QSortFilterProxyModel(parent), board_(board) {
  setSourceModel(&board);
  setDynamicSortFilter(true);
}

bool VehicleBoardSort::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const BoardRow& a = board_.rowAt(left.row());
  const BoardRow& b = board_.rowAt(right.row());
  const int byName = QString::localeAwareCompare(a.name.toCaseFolded(), b.name.toCaseFolded());
  switch (left.column()) {
  case VehicleBoard::Status: {
    // Without a status counts as above every status, so it sorts after them.
    const int sa = a.timeline.empty() ? 1000 : a.timeline.status();
    const int sb = b.timeline.empty() ? 1000 : b.timeline.status();
    if (sa != sb)
      return sa < sb;
    break;
  }
  case VehicleBoard::Since:
  case VehicleBoard::Day: {
    // Without a status has held longest of all.
    if (a.timeline.since() != b.timeline.since())
      return a.timeline.since() < b.timeline.since();
    break;
  }
  default:
    break;
  }
  if (byName != 0)
    return byName < 0;
  return a.identifier < b.identifier;
}

} // namespace meldlux
