// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/foreground.h"

#include <QPointer>
#include <QWindow>

namespace meldlux {

// Qt knows the focus window only among the program's own windows; the popup itself never
// accepts the focus, so restoring is needed only where a platform hands it over anyway.
class QtForeground final : public Foreground {
public:
  void remember() override;
  void restore() override;

private:
  QPointer<QWindow> remembered_;
};

} // namespace meldlux
