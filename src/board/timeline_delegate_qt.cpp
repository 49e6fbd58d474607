// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/timeline_delegate_qt.h"

#include "board/vehicle_board.h"
#include "display/popup_label_window.h"

#include <QPainter>

namespace meldlux {

void TimelineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index); // selection and focus as elsewhere
  const QRectF bar = QRectF(option.rect).adjusted(2, 3, -2, -3);
  if (bar.width() <= 0 || bar.height() <= 0)
    return;
  painter->save();
  painter->fillRect(bar, option.palette.color(QPalette::Base).darker(110));
  const auto spans = index.data(VehicleBoard::TimelineRole).value<Timeline>();
  for (const TimelineSpan& span : spans) {
    QRectF part(bar.left() + span.from * bar.width(), bar.top(),
                (span.to - span.from) * bar.width(), bar.height());
    painter->fillRect(part.adjusted(0, 0, 0.5, 0), toQColor(span.colour)); // no seams between
  }
  painter->setPen(QPen(QColor(0, 0, 0, 90), 1));
  for (int quarter = 1; quarter < 4; ++quarter) {
    const double x = bar.left() + bar.width() * quarter / 4.0;
    painter->drawLine(QPointF(x, bar.top()), QPointF(x, bar.bottom()));
  }
  painter->drawRect(bar);
  painter->restore();
}

QSize TimelineDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(240, 20));
}

} // namespace meldlux
