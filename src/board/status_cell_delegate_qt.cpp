// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/status_cell_delegate_qt.h"

#include "board/vehicle_board.h"
#include "display/popup_label_window.h"

#include <QPainter>

namespace meldlux {

void StatusCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const QVariant colour = index.data(VehicleBoard::ColourRole);
  if (!colour.isValid()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QColor back = toQColor(colour.value<Colour>());
  const QRect area = option.rect.adjusted(1, 1, -1, -1);
  const QRect textArea = area.adjusted(4, 0, -4, 0);
  painter->save();
  painter->fillRect(area, back);
  painter->setPen(toQColor(index.data(VehicleBoard::TextColourRole).value<Colour>()));
  painter->setFont(option.font);
  painter->drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft,
                    option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight,
                                                  textArea.width()));
  painter->restore();
}

} // namespace meldlux
