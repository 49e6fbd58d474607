// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/telegram_handlers.h"

namespace meldlux {

class AlarmRules;
class Clock;
struct ReferenceTables;
struct StatusTables;

// Stands between the dispatchers and the handlers: every telegram goes to the handlers as before,
// and then to the alarm rules, also when the handlers filter it, skip it as a repeat, or fail on
// it.
class RuleCheck final : public TelegramHandlers {
public:
  RuleCheck(TelegramHandlers& handlers, AlarmRules& rules, const ReferenceTables& reference,
            const StatusTables& statusTables, const Clock& clock)
      : handlers_(handlers), rules_(rules), reference_(reference), statusTables_(statusTables),
        clock_(clock) {}

  // While on, every telegram is a test of the rules' window.
  void setTesting(bool testing) { testing_ = testing; }

  void HandleZvei(QString& code, OleDate& time) override;
  void HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) override;
  void HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override;
  void HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                        OleDate& time) override;

private:
  void fms(QString& identifier, std::int16_t& status, QString& text, OleDate& time,
           bool fromControl);
  template <typename Handle> void handleThenCheck(Handle handle, struct RuleTelegram& telegram);

  TelegramHandlers& handlers_;
  AlarmRules& rules_;
  const ReferenceTables& reference_;
  const StatusTables& statusTables_;
  const Clock& clock_;
  bool testing_ = false;
};

} // namespace meldlux
