// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once


#include "base/ole_date.h"
#include "journal/journal_entry.h"
#include "telegrams/handler_context.h"

#include <QString>
#include <cstdint>

namespace meldlux {

// A ZVEI five-tone alarm: named from the five-tone table, a list line, the alarm sound, the tray
// summary.
class ZveiHandler {
public:
  explicit ZveiHandler(HandlerContext context);
  void HandleZvei(QString& code, OleDate& time);

private:
  HandlerContext c_;
};

// A POCSAG pager alarm: named from the receiver table by RIC and sub-address, a list line, the
// alarm sound, the tray summary.
class PocsagHandler {
public:
  explicit PocsagHandler(HandlerContext context);
  void HandlePocsag(QString& ric, QString& text, QString& sub, OleDate& time);

  // The sub-address number looked up: "A" to "D" in either case give 1 to 4, anything else its
  // leading number, rounded.
  static std::int16_t subAddressNumber(const QString& sub);

private:
  // Shared tail of both cases: duplicate test, sound, line, refresh, tray summary.
  void alarm(const QString& line, OleDate time, const QString& traySummary, JournalEntry telegram);

  HandlerContext c_;
};

} // namespace meldlux

