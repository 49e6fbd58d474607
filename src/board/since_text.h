// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>

namespace meldlux {

// How long a status has held, coarse enough to be read at a glance and to change only once a
// minute: "gerade eben", "vor 12 min", "vor 3 h 5 min", and after a day the date it began
// ("seit 03.12.26 07:15"). Empty when there is no status; a start in the future (a clock that
// stepped back) reads "gerade eben".
QString sinceText(OleDate since, OleDate now);

} // namespace meldlux
