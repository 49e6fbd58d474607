// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/forwarding_handlers.h"

namespace meldlux {

void ForwardingHandlers::HandleZvei(QString& code, OleDate& time) {
  TelegramCall call{TelegramCall::Kind::Zvei, code, time};
  pass(call);
}

void ForwardingHandlers::HandlePocsag(QString& ric, QString& text, QString& function,
                                      OleDate& time) {
  TelegramCall call{TelegramCall::Kind::Pocsag, ric, time, &text, &function};
  pass(call);
}

void ForwardingHandlers::HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                                          OleDate& time) {
  TelegramCall call{TelegramCall::Kind::FmsVehicle, identifier, time, &text, nullptr, &status};
  pass(call);
}

void ForwardingHandlers::HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                                          OleDate& time) {
  TelegramCall call{TelegramCall::Kind::FmsControl, identifier, time, &text, nullptr, &status};
  pass(call);
}

void ForwardingHandlers::forward(TelegramCall& call) {
  switch (call.kind) {
  case TelegramCall::Kind::Zvei:
    return inner_.HandleZvei(call.sender, call.time);
  case TelegramCall::Kind::Pocsag:
    return inner_.HandlePocsag(call.sender, *call.text, *call.function, call.time);
  case TelegramCall::Kind::FmsVehicle:
    return inner_.HandleFmsVehicle(call.sender, *call.status, *call.text, call.time);
  case TelegramCall::Kind::FmsControl:
    return inner_.HandleFmsControl(call.sender, *call.status, *call.text, call.time);
  }
}

} // namespace meldlux
