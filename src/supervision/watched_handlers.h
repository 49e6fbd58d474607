// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/telegram_handlers.h"

namespace meldlux {

class LinkWatch;

// Between the dispatch and the handlers: tells the watch the sender of every telegram (whether
// the strip shows it or not), then hands the telegram on unchanged.
class WatchedHandlers final : public TelegramHandlers {
public:
  WatchedHandlers(LinkWatch& watch, TelegramHandlers& handlers)
      : watch_(watch), handlers_(handlers) {}

  void HandleZvei(QString& code, OleDate& time) override;
  void HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) override;
  void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override;
  void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override;

private:
  LinkWatch& watch_;
  TelegramHandlers& handlers_;
};

} // namespace meldlux
