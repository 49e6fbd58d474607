// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once


#include "base/ole_date.h"
#include "journal/journal_entry.h"
#include "telegrams/handler_context.h"

#include <QString>
#include <cstdint>

namespace meldlux {

// A status a vehicle sent: a list line, the Sprechwunsch or Spricht indicator, the vehicle-status
// sound and the tray summary.
class FmsVehicleHandler {
public:
  explicit FmsVehicleHandler(HandlerContext context);

  void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text, OleDate& time);

private:
  // `sender` is the journal's entry for the telegram, without its line.
  void normalLine(const QString& name, std::int16_t status, int org, QString& text, OleDate time,
                  JournalEntry sender);
  void sprechwunsch(const QString& name);
  void vehicleText(const QString& name, const QString& text, OleDate time, JournalEntry sender);
  void spricht(const QString& name);

  HandlerContext c_;
};

} // namespace meldlux

