// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/forwarding_handlers.h"

namespace meldlux {

class AlarmRules;
class Clock;
struct ReferenceTables;
struct RuleTelegram;
struct StatusTables;

// Stands between the dispatchers and the handlers: every telegram goes to the handlers as before,
// and then to the alarm rules, also when the handlers filter it, skip it as a repeat, or fail on
// it.
class RuleCheck final : public ForwardingHandlers {
public:
  RuleCheck(TelegramHandlers& handlers, AlarmRules& rules, const ReferenceTables& reference,
            const StatusTables& statusTables, const Clock& clock)
      : ForwardingHandlers(handlers), rules_(rules), reference_(reference),
        statusTables_(statusTables), clock_(clock) {}

  // While on, every telegram is a test of the rules' window.
  void setTesting(bool testing) { testing_ = testing; }

private:
  void pass(TelegramCall& call) override;
  RuleTelegram describe(const TelegramCall& call) const;
  void describeFms(const TelegramCall& call, RuleTelegram& telegram) const;

  AlarmRules& rules_;
  const ReferenceTables& reference_;
  const StatusTables& statusTables_;
  const Clock& clock_;
  bool testing_ = false;
};

} // namespace meldlux
