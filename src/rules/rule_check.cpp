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

template <typename Handle> void RuleCheck::handleThenCheck(Handle handle, RuleTelegram& telegram) {
  telegram.arrival = clock_.now();
  telegram.test = testing_;
  // The handlers first: an alarm's sound is asked for before its speech.
  try {
    handle();
  } catch (const Failure&) {
    rules_.check(telegram);
    throw;
  }
  rules_.check(telegram);
}

void RuleCheck::HandleZvei(QString& code, OleDate& time) {
  if (!rules_.active())
    return handlers_.HandleZvei(code, time);
  RuleTelegram t;
  t.kind = RuleKind::Zvei;
  t.code = code;
  if (const int index = reference_.fiveTones.FindFiveTone(code); index > 0)
    t.name = trimSpaces(reference_.fiveTones.at(index).name.view());
  handleThenCheck([&] { handlers_.HandleZvei(code, time); }, t);
}

void RuleCheck::HandlePocsag(QString& ric, QString& text, QString& function, OleDate& time) {
  if (!rules_.active())
    return handlers_.HandlePocsag(ric, text, function, time);
  RuleTelegram t;
  t.kind = RuleKind::Pocsag;
  t.code = ric;
  t.sub = function;
  t.text = trimSpaces(text);
  const int index = reference_.pocsag.FindPocsag(ric, PocsagHandler::subAddressNumber(function));
  if (index > 0)
    t.name = trimSpaces(reference_.pocsag.at(index).name.view());
  handleThenCheck([&] { handlers_.HandlePocsag(ric, text, function, time); }, t);
}

void RuleCheck::HandleFmsVehicle(QString& identifier, std::int16_t& status, QString& text,
                                 OleDate& time) {
  if (!rules_.active())
    return handlers_.HandleFmsVehicle(identifier, status, text, time);
  fms(identifier, status, text, time, false);
}

void RuleCheck::HandleFmsControl(QString& identifier, std::int16_t& status, QString& text,
                                 OleDate& time) {
  if (!rules_.active())
    return handlers_.HandleFmsControl(identifier, status, text, time);
  fms(identifier, status, text, time, true);
}

void RuleCheck::fms(QString& identifier, std::int16_t& status, QString& text, OleDate& time,
                    bool fromControl) {
  RuleTelegram t;
  t.kind = RuleKind::Fms;
  t.code = StripNul(identifier);
  t.status = status;
  t.fromControl = fromControl;
  t.text = trimSpaces(StripNul(text));
  if (const int index = reference_.vehicles.FindVehicle(identifier); index > 0) {
    t.name = trimSpaces(reference_.vehicles.at(index).name.view());
  } else {
    try {
      QString copy = identifier;
      t.name = DecodeKennung(copy, statusTables_);
    } catch (const Failure&) {
      // Not a BOS identifier: the rules see the code alone.
    }
  }
  if (t.text.isEmpty() && status >= 0 && status < StatusTables::kStatuses) {
    try {
      t.text = statusTables_.texts.at(std::size_t(status))
                   .at(std::size_t(OrgIndex(t.code)))
                   .at(fromControl ? 1 : 0);
    } catch (const Failure&) {
    }
  }
  handleThenCheck(
      [&] {
        if (fromControl)
          handlers_.HandleFmsControl(identifier, status, text, time);
        else
          handlers_.HandleFmsVehicle(identifier, status, text, time);
      },
      t);
}

} // namespace meldlux
