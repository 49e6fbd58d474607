// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once


#include "link/telegram_handlers.h"
#include "telegrams/alarm_handlers.h"
#include "telegrams/fms_control_handler.h"
#include "telegrams/fms_vehicle_handler.h"

namespace meldlux {

// The four handlers behind the one interface the dispatchers call.
class TelegramHandlerSet final : public TelegramHandlers {
public:
  explicit TelegramHandlerSet(HandlerContext context);

  void HandleZvei(QString& code, OleDate& time) override;
  void HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) override;
  void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override;
  void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override;

private:
  ZveiHandler zvei_;
  PocsagHandler pocsag_;
  FmsVehicleHandler vehicle_;
  FmsControlHandler control_;
};

} // namespace meldlux

