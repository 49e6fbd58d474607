// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/watched_handlers.h"

#include "supervision/link_watch.h"

namespace meldlux {

void WatchedHandlers::HandleZvei(QString& code, OleDate& time) {
  watch_.telegram(code);
  handlers_.HandleZvei(code, time);
}

void WatchedHandlers::HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) {
  watch_.telegram(ric);
  handlers_.HandlePocsag(ric, text, function, time);
}

void WatchedHandlers::HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                                       OleDate& time) {
  watch_.telegram(identifier);
  handlers_.HandleFmsVehicle(identifier, status, text, time);
}

void WatchedHandlers::HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                                       OleDate& time) {
  watch_.telegram(identifier);
  handlers_.HandleFmsControl(identifier, status, text, time);
}

} // namespace meldlux
