// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/clock.h"
#include "base/event_log.h"
#include "rules/alarm_rules.h"
#include "state/options.h"
#include "support/event_log_file.h"

#include <gtest/gtest.h>

using namespace meldlux;

namespace {

RuleTelegram telegram(RuleKind kind, const QString& code) {
  RuleTelegram t;
  t.kind = kind;
  t.code = code;
  return t;
}
RuleTelegram zvei(const QString& code) { return telegram(RuleKind::Zvei, code); }
RuleTelegram pocsag(const QString& ric, const QString& sub, const QString& text = {}) {
  RuleTelegram t = telegram(RuleKind::Pocsag, ric);
  t.sub = sub;
  t.text = text;
  return t;
}
RuleTelegram fms(const QString& id, int status, bool fromControl = false) {
  RuleTelegram t = telegram(RuleKind::Fms, id);
  t.status = status;
  t.fromControl = fromControl;
  return t;
}

struct MatchCase {
  const char* rule;
  RuleTelegram telegram;
  bool matches;
};

} // namespace

TEST(AlarmRule, MatchesEveryKindWithRangesSubAddressesStatusesAndFoldedWords) {
  const MatchCase cases[] = {
      {"ZVEI:21001|sprechen|", zvei("21001"), true},
      {"ZVEI:21001|sprechen|", zvei("21002"), false},
      {"ZVEI:21*|sprechen|", zvei("21999"), true},
      {"ZVEI:21*|sprechen|", zvei("12100"), false},
      {"ZVEI:21001|sprechen|", pocsag("21001", "A"), false}, // the kind counts
      {"POCSAG:1234567|sprechen|", pocsag("1234567", "D"), true},
      {"POCSAG:1234567|sprechen|", pocsag("01234567", "A"), true}, // leading zeros
      {"pocsag:1234567b|sprechen|", pocsag("1234567", "2"), true}, // "B" is sub-address 2
      {"POCSAG:1234567B|sprechen|", pocsag("1234567", "b"), true},
      {"POCSAG:1234567B|sprechen|", pocsag("1234567", "A"), false},
      {"POCSAG:12345*|sprechen|", pocsag("1234599", "C"), true},
      {"POCSAG:12345*|sprechen|", pocsag("1244599", "C"), false},
      {"FMS:64121011|monitor|", fms("64121011", 3), true},
      {"FMS:6412101a|monitor|", fms("6412101A", 3), true},
      {"FMS:64121011/3|monitor|", fms("64121011", 3), true},
      {"FMS:64121011/3|monitor|", fms("64121011", 4), false},
      {"FMS:64121011|monitor|", fms("64121011", 3, true), false}, // an order to the vehicle
      {"FMS:6412*|monitor|", fms("64129999", 1), true},
      {"TEXT:brand|sprechen|", pocsag("1", "A", "B3 BRAND Wohnhaus"), true},
      {"TEXT:Müller|sprechen|", pocsag("1", "A", "Fa. MÜLLER"), true},
      {"TEXT:straße|sprechen|", pocsag("1", "A", "HAUPTSTRASSE 1"), true},
      {"TEXT:brand|sprechen|", pocsag("1", "A", "Wasser im Keller"), false},
      {"TEXT:RTW|sprechen|", fms("64121011", 10), false}, // FMS without text
  };
  for (const MatchCase& c : cases) {
    const AlarmRule rule = AlarmRule::parse(1, QString::fromUtf8(c.rule));
    ASSERT_TRUE(rule.usable()) << c.rule << ": " << rule.fault.toStdString();
    EXPECT_EQ(rule.matches(c.telegram), c.matches)
        << c.rule << " with " << c.telegram.code.toStdString() << "/"
        << c.telegram.sub.toStdString();
  }
}

TEST(AlarmRule, ALineItCannotReadIsOffWithItsReason) {
  const char* const broken[] = {
      "POCSAG 1234567|sprechen|x", "SIRENE:21001|sprechen|",
      "ZVEI:2100|sprechen|",       "ZVEI:21a01|sprechen|",
      "ZVEI:2*1|sprechen|",        "POCSAG:12345678|sprechen|",
      "FMS:6412101|monitor|",      "FMS:6412101G|monitor|",
      "FMS:64121011/16|monitor|",  "ZVEI:21001|rufen|",
      "ZVEI:21001||Text",          "ZVEI:21001|sprechen|{ort}",
      "TEXT:|sprechen|",           "ZVEI:21001",
  };
  for (const char* line : broken) {
    const AlarmRule rule = AlarmRule::parse(1, QString::fromUtf8(line));
    EXPECT_FALSE(rule.usable()) << line;
    EXPECT_FALSE(rule.fault.isEmpty()) << line;
    EXPECT_FALSE(rule.matches(zvei("21001"))) << line;
  }
}

TEST(AlarmRule, ReadsItsActionsAndFillsInTheFields) {
  const AlarmRule rule = AlarmRule::parse(
      4, QStringLiteral("POCSAG:1234567|sprechen, monitor,ton=sounds\\gong.wav|Alarm für {name}. "
                        "{text} ({code} {status}) um {zeit} | Ende"));
  ASSERT_TRUE(rule.usable()) << rule.fault.toStdString();
  EXPECT_TRUE(rule.speak);
  EXPECT_TRUE(rule.monitor);
  EXPECT_EQ(rule.sound, u"sounds\\gong.wav");
  RuleTelegram t = pocsag("1234567", "B", QStringLiteral("B3 Wohnhaus"));
  t.name = QStringLiteral("FF Musterstadt");
  t.arrival = 46360.5 + 5.0 / 1440; // 12:05
  EXPECT_EQ(rule.expand(t), u"Alarm für FF Musterstadt. B3 Wohnhaus (1234567 B) um 12:05 | Ende");
  t.name.clear(); // an unknown receiver is named by its code
  EXPECT_EQ(AlarmRule::parse(1, QStringLiteral("POCSAG:1234567|monitor|")).expand(t), u"1234567");
}

TEST(AlarmRules, ARepeatWithinTheRepeatTimeActsOnceAndABrokenRuleIsToldOnce) {
  EventLogFile file;
  EventLog log(file.path());
  ManualClock clock;
  Options options;
  options.SuppressSeconds = 60;
  AlarmRules rules(options, clock, log);
  int monitors = 0;
  int tests = 0;
  QObject::connect(&rules, &AlarmRules::monitorRequested,
                   [&](double, const QString&, const QString&, const QString&, bool test) {
                     ++monitors;
                     tests += test;
                   });
  QStringList off;
  QObject::connect(&rules, &AlarmRules::ruleSwitchedOff,
                   [&](int number, const QString&) { off << QString::number(number); });
  rules.setRules({QStringLiteral("ZVEI:21001|monitor|{code}"), QStringLiteral("ZVEI:nix|monitor|"),
                  QString(), QStringLiteral("ZVEI:2100*|monitor|Bereich")});
  EXPECT_EQ(off, QStringList{QStringLiteral("2")});
  ASSERT_EQ(rules.rules().size(), 3u);

  rules.check(zvei("21001")); // rules 1 and 4
  clock.advance(59);
  rules.check(zvei("21001")); // a repeat: nothing
  rules.check(zvei("21002")); // another code: rule 4
  clock.advance(2);
  rules.check(zvei("21001")); // the repeat time is over
  RuleTelegram test = zvei("21001");
  test.test = true;
  rules.check(test); // a test is never a repeat
  EXPECT_EQ(monitors, 7);
  EXPECT_EQ(tests, 2);
  EXPECT_EQ(file.lines(QStringLiteral("ruleoff")).size(), 1);
  EXPECT_EQ(file.lines(QStringLiteral("rule")).first(), u"rule\t1\talarm\t21001");
}
