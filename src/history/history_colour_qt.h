// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIdentityProxyModel>

namespace meldlux {

// Shows each history row's line colour as a swatch before its time: the lines' colours are
// chosen for the strip's background, so as text colours on a white table they could vanish.
// Repeats and filtered telegrams are greyed.
class HistoryColourProxy final : public QIdentityProxyModel {
  Q_OBJECT
public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

} // namespace meldlux
