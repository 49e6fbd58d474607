// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>

namespace meldlux {

// What a rule looks at in a telegram.
enum class RuleKind { Zvei, Pocsag, Fms, Text };

// One received telegram as the rules see it, whether the strip shows it or not.
struct RuleTelegram {
  RuleKind kind = RuleKind::Zvei; // Text is never a telegram's kind: TEXT rules read every kind
  QString code;                   // five-tone code, RIC or FMS identifier, as received
  QString sub;                    // POCSAG sub-address as received
  int status = -1;                // FMS status number
  bool fromControl = false;       // an FMS telegram the control centre sent
  QString name; // from the reference data, trimmed; the decoded identifier of an unknown vehicle
  QString text; // the message that came with it; for FMS without one, the status text
  OleDate arrival = 0;
  bool test = false; // "Testen" in the rules' window
};

// A line `ART:MUSTER|AKTIONEN|TEXT` of the section [Alarmregeln], read.
struct AlarmRule {
  int number = 0; // N of the key RegelN
  QString source; // the line as stored
  RuleKind kind = RuleKind::Zvei;
  QString pattern;    // code without a trailing "*", or the folded word
  bool range = false; // a trailing "*": every code that begins with pattern
  QString pocsagSub;  // "A" to "D" when the pattern names one
  int fmsStatus = -1; // "/N" after an FMS identifier
  bool speak = false;
  bool monitor = false;
  QString sound; // ton=FILE
  QString text;
  QString fault; // why the line cannot be read; such a rule is off

  bool usable() const { return fault.isEmpty(); }
  bool matches(const RuleTelegram& telegram) const;
  // The text with its fields filled in; the name, or else the code, when the text is empty.
  QString expand(const RuleTelegram& telegram) const;

  static AlarmRule parse(int number, const QString& line);
};

} // namespace meldlux
