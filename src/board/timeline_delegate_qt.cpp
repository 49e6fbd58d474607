// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/timeline_delegate_qt.h"

#include "board/vehicle_board.h"
#include "display/popup_label_window.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QToolTip>
#include <cmath>

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
  painter->setPen(QPen(QColor(0, 0, 0, 110), 1));
  const double start = index.data(VehicleBoard::DayStartRole).toDouble();
  const double firstHour = std::ceil(start * 24) - start * 24; // in hours from the left end
  for (int h = 0; h < 24; ++h) {
    const double hours = firstHour + h;
    if (hours <= 0 || hours >= 24)
      continue;
    const double x = bar.left() + bar.width() * hours / 24;
    const bool sixth = (long long)std::llround(start * 24 + hours) % 6 == 0;
    const double top = sixth ? bar.top() : bar.bottom() - bar.height() / 3;
    painter->drawLine(QPointF(x, top), QPointF(x, bar.bottom()));
  }
  painter->drawRect(bar);
  painter->restore();
}

bool TimelineDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip)
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  const QRectF bar = QRectF(option.rect).adjusted(2, 3, -2, -3);
  QModelIndex source = index;
  while (auto* proxy = qobject_cast<const QAbstractProxyModel*>(source.model()))
    source = proxy->mapToSource(source);
  const auto* board = qobject_cast<const VehicleBoard*>(source.model());
  const QString tip =
      board && bar.width() > 0
          ? board->timelineTip(source.row(), (event->pos().x() - bar.left()) / bar.width())
          : QString();
  if (tip.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(event->globalPos(), tip, view);
  return true;
}

QSize TimelineDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(240, 20));
}

} // namespace meldlux
