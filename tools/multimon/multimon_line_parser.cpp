// SPDX-License-Identifier: GPL-3.0-or-later
#include "multimon_line_parser.h"

#include <QRegularExpression>
#include <utility>

namespace meldlux::multimon {

namespace {

const QRegularExpression& zveiPattern() {
  static const QRegularExpression re(
      QStringLiteral("^(?:ZVEI[123]|DZVEI|PZVEI|CCIR|EEA|EIA): ([0-9E]{5})$"));
  return re;
}

const QRegularExpression& pocsagPattern() {
  static const QRegularExpression re(QStringLiteral(
      "^POCSAG(512|1200|2400): Address: *([0-9]{1,7}) +Function: ([0-3])"
      "(?: +(Alpha|Numeric|Skyper): ?(.*?))? *$"));
  return re;
}

const QRegularExpression& fmsPattern() {
  static const QRegularExpression re(QStringLiteral(
      "^FMS: ([0-9a-fA-F]{12}) \\((.*)\\) CRC (correct(?: AFTER SWAPPING ONE BIT)?|INCORRECT.*)$"));
  return re;
}

// The marks multimon-ng prints for control characters in alpha text, "<NUL>" to "<DEL>".
const QRegularExpression& controlMark() {
  static const QRegularExpression re(QStringLiteral(
      "<(NUL|SOH|STX|ETX|EOT|ENQ|ACK|BEL|BS|HT|LF|VT|FF|CR|SO|SI|DLE|DC[1-4]|NAK|SYN|ETB|CAN|EM|"
      "SUB|ESC|FS|GS|RS|US|DEL)>"));
  return re;
}

QChar germanLetter(QChar c) {
  switch (c.unicode()) {
  case u'[': return u'Ä';
  case u'\\': return u'Ö';
  case u']': return u'Ü';
  case u'{': return u'ä';
  case u'|': return u'ö';
  case u'}': return u'ü';
  case u'~': return u'ß';
  default: return c;
  }
}

// "6=Feuerwehr     " -> "6"; the field's value is the single character before "=".
QString valueBeforeEquals(const QString& field) {
  const QString trimmed = field.trimmed();
  return trimmed.size() >= 2 && trimmed[1] == u'=' ? trimmed.left(1) : QString();
}

bool isHex(QStringView text) {
  if (text.isEmpty())
    return false;
  for (const QChar c : text)
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
      return false;
  return true;
}

} // namespace

QString DecodedTelegram::kindName(Kind kind) {
  switch (kind) {
  case Kind::Zvei: return QStringLiteral("zvei");
  case Kind::Pocsag: return QStringLiteral("pocsag");
  case Kind::Fms: return QStringLiteral("fms");
  }
  return {};
}

MultimonLineParser::MultimonLineParser(Options options, QObject* parent)
    : QObject(parent), options_(options) {}

std::optional<DecodedTelegram> MultimonLineParser::parse(QStringView rawLine) {
  QStringView line = rawLine;
  while (!line.isEmpty() && (line.back() == u'\r' || line.back() == u'\n'))
    line.chop(1);
  if (line.trimmed().isEmpty())
    return std::nullopt; // blank lines are no telegram and no fault either

  // multimon-ng prints five-tone digits as they come, so another decoder's line can land inside
  // one: "ZVEI1: 21FMS: ... CRC correct", then "0E1" on the next line. The two halves are joined
  // and the line in between read on its own.
  static const QRegularExpression kInterrupted(QStringLiteral(
      "^((?:ZVEI[123]|DZVEI|PZVEI|CCIR|EEA|EIA): [0-9E]{0,4})((?:FMS: |POCSAG|ZVEI[123]: ).*)$"));
  static const QRegularExpression kRest(QStringLiteral("^[0-9E]{1,5}$"));
  QString joined;
  if (!zveiFragment_.isEmpty()) {
    const QString fragment = std::exchange(zveiFragment_, QString());
    if (kRest.match(line).hasMatch()) {
      joined = fragment + line.toString();
      line = joined;
    }
  } else if (const auto split = kInterrupted.match(line); split.hasMatch()) {
    const QString fragment = split.captured(1);
    auto inner = parse(split.capturedView(2).toString());
    zveiFragment_ = fragment;
    return inner;
  }
  std::optional<DecodedTelegram> telegram;
  bool rejected = false;
  if (line.size() <= kLongestLine) {
    if (line.startsWith(u"POCSAG")) {
      telegram = parsePocsag(line);
    } else if (line.startsWith(u"FMS: ")) {
      telegram = parseFms(line);
      rejected = !telegram && fmsPattern().match(line).hasMatch();
    } else {
      telegram = parseZvei(line);
    }
  }
  if (telegram) {
    ++decoded_;
    Q_EMIT telegramDecoded(*telegram);
  } else if (rejected) {
    ++rejectedChecks_;
  } else {
    ++unreadable_;
  }
  return telegram;
}

std::optional<DecodedTelegram> MultimonLineParser::parseZvei(QStringView line) {
  const auto match = zveiPattern().match(line);
  if (!match.hasMatch())
    return std::nullopt;
  // The repeat tone stands for the digit before it; it cannot come first.
  QString code = match.captured(1);
  for (qsizetype i = 0; i < code.size(); ++i) {
    if (code[i] == u'E') {
      if (i == 0)
        return std::nullopt;
      code[i] = code[i - 1];
    }
  }
  DecodedTelegram t;
  t.kind = DecodedTelegram::Kind::Zvei;
  t.fields[QStringLiteral("code")] = code;
  t.wireFields = {QStringLiteral("ZVEI"), code};
  return t;
}

QString MultimonLineParser::pagerText(QStringView text, bool alpha) const {
  QString result = text.toString();
  // Line breaks and tabs become spaces (a TAB would split the wire line), the rest goes.
  static const QRegularExpression kBreaks(QStringLiteral("<(HT|LF|CR|VT|FF)>"));
  result.replace(kBreaks, QStringLiteral(" "));
  result.remove(controlMark());
  for (QChar& c : result) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = u' ';
    else if (alpha && options_.germanCharset)
      c = germanLetter(c);
  }
  return result.trimmed();
}

std::optional<DecodedTelegram> MultimonLineParser::parsePocsag(QStringView line) {
  const auto match = pocsagPattern().match(line);
  if (!match.hasMatch())
    return std::nullopt;
  const QString ric = QString::number(match.captured(2).toLong());
  const int function = match.captured(3).toInt();
  const QString sub(QChar(u'A' + function));
  const QString mode = match.captured(4);
  const QString text = pagerText(match.capturedView(5), mode == u"Alpha");
  DecodedTelegram t;
  t.kind = DecodedTelegram::Kind::Pocsag;
  t.fields[QStringLiteral("rate")] = match.captured(1).toInt();
  t.fields[QStringLiteral("ric")] = ric;
  t.fields[QStringLiteral("function")] = function;
  t.fields[QStringLiteral("sub")] = sub;
  t.fields[QStringLiteral("mode")] = mode.toLower();
  t.fields[QStringLiteral("text")] = text;
  t.wireFields = {QStringLiteral("POC"), ric, sub, text};
  return t;
}

std::optional<DecodedTelegram> MultimonLineParser::parseFms(QStringView line) {
  const auto match = fmsPattern().match(line);
  if (!match.hasMatch() || match.captured(3).startsWith(u"INCORRECT"))
    return std::nullopt;
  // Inside the brackets: BOS, state, "Ort 0xPP=ddd", "FZG VVVV", "Status S=...", direction,
  // tactical information, each ended by a TAB.
  const QStringList parts = match.captured(2).split(u'\t');
  if (parts.size() < 7)
    return std::nullopt;
  const QString bos = valueBeforeEquals(parts[0]).toUpper();
  const QString state = valueBeforeEquals(parts[1]).toUpper();
  static const QRegularExpression kPlace(QStringLiteral("^Ort 0x([0-9a-fA-F]{2})="));
  static const QRegularExpression kVehicle(QStringLiteral("^FZG ([0-9a-fA-F]{4})$"));
  static const QRegularExpression kStatus(QStringLiteral("^Status ([0-9a-fA-F])="));
  const auto place = kPlace.match(parts[2].trimmed());
  const auto vehicle = kVehicle.match(parts[3].trimmed());
  const auto status = kStatus.match(parts[4].trimmed());
  const QString direction = valueBeforeEquals(parts[5]);
  const QString tactical = valueBeforeEquals(parts[6]);
  if (!isHex(bos) || !isHex(state) || !place.hasMatch() || !vehicle.hasMatch() ||
      !status.hasMatch() || (direction != u"0" && direction != u"1") || !isHex(tactical))
    return std::nullopt;
  const QString placeCode = place.captured(1).toUpper();
  const QString vehicleCode = vehicle.captured(1).toUpper();
  const QString identifier = bos + state + placeCode + vehicleCode;
  const QString statusNumber = QString::number(status.captured(1).toInt(nullptr, 16));
  DecodedTelegram t;
  t.kind = DecodedTelegram::Kind::Fms;
  t.fields[QStringLiteral("identifier")] = identifier;
  t.fields[QStringLiteral("status")] = statusNumber.toInt();
  t.fields[QStringLiteral("direction")] = direction.toInt();
  t.fields[QStringLiteral("tactical")] = tactical;
  t.fields[QStringLiteral("repaired")] = match.captured(3) != u"correct";
  t.fields[QStringLiteral("frame")] = match.captured(1);
  // Kind, identifier, BOS, state, place, vehicle, status, build stage (not printed by
  // multimon-ng), direction, short information, text kind, reserve, follow-up place, text.
  t.wireFields = {QStringLiteral("FMSTlg"), identifier, bos, state, placeCode, vehicleCode,
                  statusNumber, QStringLiteral("0"), direction, tactical, QStringLiteral("0"),
                  QStringLiteral("0"), QStringLiteral("0"), QString()};
  return t;
}

} // namespace meldlux::multimon
