// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>

namespace meldlux {

// One alarm as the hall monitor shows it: when it came, the code that raised it (five-tone code,
// RIC), the unit's name, the text, and whether it is only a test of a rule.
struct MonitorAlarm {
  OleDate time = 0;
  QString code;
  QString name;
  QString text;
  bool test = false;

  bool operator==(const MonitorAlarm&) const = default;
};

} // namespace meldlux
