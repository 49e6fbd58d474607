// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QStringView>

namespace meldlux {

// What a server may put after "#!XX!#" about itself:
// "#!XX!# meldlux interval=SECONDS receiver=ok|down since=ISO8601", words by one space, later
// and unknown words ignored. A heartbeat without the word "meldlux" right after the marker
// carries nothing (present stays false); a word that does not read leaves its field unset.
struct HeartbeatContent {
  enum class Receiver { Unknown, Ok, Down };

  bool present = false;
  int intervalSeconds = 0; // 0: not given
  Receiver receiver = Receiver::Unknown;
  OleDate since = 0; // local time; 0: not given or unreadable

  static HeartbeatContent read(QStringView line);
};

} // namespace meldlux
