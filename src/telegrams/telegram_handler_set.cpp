// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/telegram_handler_set.h"

namespace meldlux {

TelegramHandlerSet::TelegramHandlerSet(HandlerContext context)
    : zvei_(context), pocsag_(context), vehicle_(context), control_(context) {}

void TelegramHandlerSet::HandleZvei(QString& code, OleDate& time) { zvei_.HandleZvei(code, time); }

void TelegramHandlerSet::HandlePocsag(QString& ric, QString& text, QString& function,
                                      OleDate& time) {
  pocsag_.HandlePocsag(ric, text, function, time);
}

void TelegramHandlerSet::HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                                          OleDate& time) {
  vehicle_.HandleFmsVehicle(identifier, status, text, time);
}

void TelegramHandlerSet::HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                                          OleDate& time) {
  control_.HandleFmsControl(identifier, status, text, time);
}

} // namespace meldlux

