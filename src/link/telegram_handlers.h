// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>
#include <cstdint>

namespace meldlux {

// The four telegram handlers as the dispatchers call them. Every argument is the dispatcher's own
// variable, handed over for the handler to change as it likes; the dispatcher does not look at
// it afterwards, and overwrites the strings for its next line (a handler keeps a copy, and runs
// no event loop that could bring the next block while it still reads them). A time of 0 means
// "no time given": the handler uses the time at which it runs.
// A handler may throw Failure; the dispatcher then drops the line.
class TelegramHandlers {
public:
  virtual ~TelegramHandlers() = default;

  virtual void HandleZvei(QString& code, OleDate& time) = 0;
  virtual void HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) = 0;
  virtual void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                                OleDate& time) = 0;
  virtual void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                                OleDate& time) = 0;
};

} // namespace meldlux
