// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/rule_check.h"

#include "base/clock.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "refdata/reference_tables.h"
#include "rules/alarm_rules.h"
#include "tables/status_tables.h"
#include "telegrams/alarm_handlers.h"
#include "telegrams/fms_identifier.h"

namespace meldlux {

void RuleCheck::pass(TelegramCall& call) {
  if (!rules_.active())
    return forward(call);
  RuleTelegram telegram = describe(call);
  telegram.arrival = clock_.now();
  telegram.test = testing_;
  // The handlers first: an alarm's sound is asked for before its speech.
  try {
    forward(call);
  } catch (const Failure&) {
    rules_.check(telegram);
    throw;
  }
  rules_.check(telegram);
}

// The telegram as the rules read it, with its name from the reference data; taken before the
// handlers run, which may change the arguments.
RuleTelegram RuleCheck::describe(const TelegramCall& call) const {
  RuleTelegram t;
  switch (call.kind) {
  case TelegramCall::Kind::Zvei:
    t.kind = RuleKind::Zvei;
    t.code = call.sender;
    if (const int index = reference_.fiveTones.FindFiveTone(call.sender); index > 0)
      t.name = trimSpaces(reference_.fiveTones.at(index).name.view());
    break;
  case TelegramCall::Kind::Pocsag: {
    t.kind = RuleKind::Pocsag;
    t.code = call.sender;
    t.sub = *call.function;
    t.text = trimSpaces(*call.text);
    const int index =
        reference_.pocsag.FindPocsag(call.sender, PocsagHandler::subAddressNumber(*call.function));
    if (index > 0)
      t.name = trimSpaces(reference_.pocsag.at(index).name.view());
    break;
  }
  case TelegramCall::Kind::FmsVehicle:
  case TelegramCall::Kind::FmsControl:
    describeFms(call, t);
    break;
  }
  return t;
}

void RuleCheck::describeFms(const TelegramCall& call, RuleTelegram& t) const {
  const std::int16_t status = *call.status;
  t.kind = RuleKind::Fms;
  t.code = StripNul(call.sender);
  t.status = status;
  t.fromControl = call.kind == TelegramCall::Kind::FmsControl;
  t.text = trimSpaces(StripNul(*call.text));
  if (const int index = reference_.vehicles.FindVehicle(call.sender); index > 0) {
    t.name = trimSpaces(reference_.vehicles.at(index).name.view());
  } else {
    try {
      QString copy = call.sender;
      t.name = DecodeKennung(copy, statusTables_);
    } catch (const Failure&) {
      // Not a BOS identifier: the rules see the code alone.
    }
  }
  if (t.text.isEmpty() && status >= 0 && status < StatusTables::kStatuses) {
    try {
      t.text = statusTables_.texts.at(std::size_t(status))
                   .at(std::size_t(OrgIndex(t.code)))
                   .at(t.fromControl ? 1 : 0);
    } catch (const Failure&) {
    }
  }
}

} // namespace meldlux
