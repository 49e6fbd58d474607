// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/alarm_rule.h"

#include "base/formats.h"
#include "base/replace_each.h"
#include "journal/journal_search.h"
#include "telegrams/alarm_handlers.h"

#include <QRegularExpression>

namespace meldlux {

namespace {

bool allDigits(QStringView text) {
  for (QChar c : text)
    if (!c.isDigit() || c.unicode() > 127)
      return false;
  return !text.isEmpty();
}

bool allHex(QStringView text) {
  for (QChar c : text)
    if (!std::isxdigit(c.unicode() < 128 ? c.toLatin1() : 'x'))
      return false;
  return !text.isEmpty();
}

QString withoutLeadingZeros(const QString& digits) {
  int i = 0;
  while (i + 1 < digits.size() && digits[i] == u'0')
    ++i;
  return digits.mid(i);
}

// The code part of a pattern, with an optional "*" at its end; the fault, or empty.
QString takeRange(QString& code, bool& range) {
  range = code.endsWith(u'*');
  if (range)
    code.chop(1);
  if (code.contains(u'*'))
    return QStringLiteral("\"*\" nur am Ende des Musters");
  return {};
}

QString readPattern(AlarmRule& rule, QString pattern) {
  if (rule.kind == RuleKind::Text) {
    if (pattern.isEmpty())
      return QStringLiteral("kein Wort angegeben");
    rule.pattern = JournalSearch::fold(pattern);
    return {};
  }
  if (rule.kind == RuleKind::Fms) {
    const qsizetype slash = pattern.indexOf(u'/');
    if (slash >= 0) {
      const QString status = pattern.mid(slash + 1);
      if (!allDigits(status) || status.size() > 2 || status.toInt() > 15)
        return QStringLiteral("Status nach \"/\" muss 0 bis 15 sein");
      rule.fmsStatus = status.toInt();
      pattern.truncate(slash);
    }
  }
  if (QString fault = takeRange(pattern, rule.range); !fault.isEmpty())
    return fault;
  if (rule.kind == RuleKind::Pocsag && !pattern.isEmpty() && !rule.range &&
      QStringLiteral("ABCD").contains(pattern.back().toUpper())) {
    rule.pocsagSub = pattern.back().toUpper();
    pattern.chop(1);
  }
  rule.pattern = pattern;
  if (pattern.isEmpty() && !rule.range)
    return QStringLiteral("kein Code angegeben");
  switch (rule.kind) {
  case RuleKind::Zvei:
    if ((!pattern.isEmpty() && !allDigits(pattern)) || pattern.size() > 5 ||
        (!rule.range && pattern.size() != 5))
      return QStringLiteral("ein ZVEI-Code hat 5 Ziffern");
    break;
  case RuleKind::Pocsag:
    if ((!pattern.isEmpty() && !allDigits(pattern)) || pattern.size() > 7)
      return QStringLiteral("eine RIC hat bis zu 7 Ziffern, danach A bis D");
    if (!rule.range)
      rule.pattern = withoutLeadingZeros(pattern);
    break;
  case RuleKind::Fms:
    if ((!pattern.isEmpty() && !allHex(pattern)) || pattern.size() > 8 ||
        (!rule.range && pattern.size() != 8))
      return QStringLiteral("eine FMS-Kennung hat 8 Zeichen 0-9, A-F");
    rule.pattern = pattern.toUpper();
    break;
  case RuleKind::Text:
    break;
  }
  return {};
}

QString readActions(AlarmRule& rule, const QString& actions) {
  for (const QString& part : actions.split(u',', Qt::SkipEmptyParts)) {
    const QString action = part.trimmed();
    if (action.compare(u"sprechen", Qt::CaseInsensitive) == 0)
      rule.speak = true;
    else if (action.compare(u"monitor", Qt::CaseInsensitive) == 0)
      rule.monitor = true;
    else if (action.startsWith(u"ton=", Qt::CaseInsensitive) && action.size() > 4)
      rule.sound = action.mid(4).trimmed();
    else if (!action.isEmpty())
      return QStringLiteral("unbekannte Aktion \"%1\"").arg(action);
  }
  if (!rule.speak && !rule.monitor && rule.sound.isEmpty())
    return QStringLiteral("keine Aktion (sprechen, monitor, ton=DATEI)");
  return {};
}

const QRegularExpression& fieldPattern() {
  static const QRegularExpression field(QStringLiteral("\\{([^{}]*)\\}"));
  return field;
}

const QStringList& fieldNames() {
  static const QStringList names{QStringLiteral("zeit"), QStringLiteral("code"),
                                 QStringLiteral("name"), QStringLiteral("text"),
                                 QStringLiteral("status")};
  return names;
}

QString readText(AlarmRule& rule, const QString& text) {
  rule.text = text.trimmed();
  for (const auto& m : fieldPattern().globalMatch(rule.text)) {
    if (!fieldNames().contains(m.captured(1)))
      return QStringLiteral("unbekanntes Feld {%1}").arg(m.captured(1));
  }
  return {};
}

bool codeMatches(const AlarmRule& rule, const QString& code) {
  return rule.range ? code.startsWith(rule.pattern) : code == rule.pattern;
}

} // namespace

AlarmRule AlarmRule::parse(int number, const QString& line) {
  AlarmRule rule;
  rule.number = number;
  rule.source = line;
  const qsizetype colon = line.indexOf(u':');
  const QStringList parts = line.mid(colon + 1).split(u'|');
  const QString kind = line.left(colon).trimmed().toUpper();
  if (colon < 0 || parts.size() < 2) {
    rule.fault = QStringLiteral("erwartet ART:MUSTER|AKTIONEN|TEXT");
    return rule;
  }
  if (kind == u"ZVEI")
    rule.kind = RuleKind::Zvei;
  else if (kind == u"POCSAG")
    rule.kind = RuleKind::Pocsag;
  else if (kind == u"FMS")
    rule.kind = RuleKind::Fms;
  else if (kind == u"TEXT")
    rule.kind = RuleKind::Text;
  else {
    rule.fault = QStringLiteral("unbekannte Art \"%1\" (ZVEI, POCSAG, FMS, TEXT)").arg(kind);
    return rule;
  }
  rule.fault = readPattern(rule, parts[0].trimmed());
  if (rule.fault.isEmpty())
    rule.fault = readActions(rule, parts[1]);
  if (rule.fault.isEmpty())
    rule.fault = readText(rule, parts.mid(2).join(u'|')); // the text may hold "|" itself
  return rule;
}

bool AlarmRule::matches(const RuleTelegram& t) const {
  if (!usable())
    return false;
  switch (kind) {
  case RuleKind::Text:
    return !t.text.isEmpty() && JournalSearch::fold(t.text).contains(pattern);
  case RuleKind::Zvei:
    return t.kind == RuleKind::Zvei && codeMatches(*this, t.code);
  case RuleKind::Pocsag:
    if (t.kind != RuleKind::Pocsag || !allDigits(t.code))
      return false;
    if (!pocsagSub.isEmpty() &&
        PocsagHandler::subAddressNumber(t.sub) != PocsagHandler::subAddressNumber(pocsagSub))
      return false;
    return codeMatches(*this, withoutLeadingZeros(t.code));
  case RuleKind::Fms:
    return t.kind == RuleKind::Fms && !t.fromControl && (fmsStatus < 0 || fmsStatus == t.status) &&
           codeMatches(*this, t.code.toUpper());
  }
  return false;
}

QString AlarmRule::expand(const RuleTelegram& t) const {
  if (text.isEmpty())
    return t.name.isEmpty() ? t.code : t.name;
  const QString result = replaceEach(text, fieldPattern(), [&](const QRegularExpressionMatch& m) {
    const QString field = m.captured(1);
    if (field == u"zeit")
      return formatTime(t.arrival).left(5);
    if (field == u"code")
      return t.code;
    if (field == u"name")
      return t.name.isEmpty() ? t.code : t.name;
    if (field == u"text")
      return t.text;
    // {status}
    if (t.kind == RuleKind::Pocsag)
      return t.sub;
    return t.status >= 0 ? QString::number(t.status) : QString();
  });
  return result.simplified();
}

} // namespace meldlux
