// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_colour_qt.h"

#include "display/popup_label_window.h"
#include "history/history_model.h"

#include <QColor>

namespace meldlux {

QVariant HistoryColourProxy::data(const QModelIndex& index, int role) const {
  if (role == Qt::DecorationRole && index.column() == HistoryModel::Time)
    return toQColor(Colour(QIdentityProxyModel::data(index, HistoryModel::ColourRole).toUInt()));
  // What the strip did not show stands back.
  if (role == Qt::ForegroundRole &&
      QIdentityProxyModel::data(index, HistoryModel::MarkedRole).toBool())
    return QColor(Qt::gray);
  return QIdentityProxyModel::data(index, role);
}

} // namespace meldlux
