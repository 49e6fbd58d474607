// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once


#include "base/ole_date.h"
#include "journal/journal_entry.h"
#include "telegrams/handler_context.h"

#include <QString>
#include <cstdint>

namespace meldlux {

// A telegram the control centre sent to a vehicle: a command status or a text telegram (status
// 10, possibly a coded place), the Sprechaufforderung and text-telegram sounds. No tray summary.
class FmsControlHandler {
public:
  explicit FmsControlHandler(HandlerContext context);

  void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text, OleDate& time);

  // "&&9" + 24 hexadecimal digits names a place of the place list: "&TRN" + digits 9-16 + "E" +
  // digits 1-8. Empty when the text is not of that form.
  static QString codedPlaceKey(const QString& text);

private:
  // `sender` is the journal's entry for the telegram, without its line.
  void commandLine(const QString& name, std::int16_t status, int org, QString& text, OleDate time,
                   JournalEntry sender);
  void textTelegram(const QString& name, int org, QString& text, OleDate time, JournalEntry sender);

  HandlerContext c_;
};

} // namespace meldlux

