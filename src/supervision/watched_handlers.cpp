// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/watched_handlers.h"

#include "supervision/link_watch.h"

namespace meldlux {

void WatchedHandlers::pass(TelegramCall& call) {
  watch_.telegram(call.sender);
  forward(call);
}

} // namespace meldlux
