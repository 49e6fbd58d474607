// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/forwarding_handlers.h"

namespace meldlux {

class LinkWatch;

// Between the dispatch and the handlers: tells the watch the sender of every telegram (whether
// the strip shows it or not), then hands the telegram on unchanged.
class WatchedHandlers final : public ForwardingHandlers {
public:
  WatchedHandlers(LinkWatch& watch, TelegramHandlers& handlers)
      : ForwardingHandlers(handlers), watch_(watch) {}

private:
  void pass(TelegramCall& call) override;

  LinkWatch& watch_;
};

} // namespace meldlux
