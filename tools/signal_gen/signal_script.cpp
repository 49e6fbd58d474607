// SPDX-License-Identifier: GPL-3.0-or-later
#include "signal_script.h"

#include "fms_encoder.h"
#include "pocsag_encoder.h"

#include <QRegularExpression>
#include <stdexcept>

namespace meldlux::signal {

namespace {

constexpr double kZveiToneSeconds = 0.070;
constexpr double kZveiRepeatHz = 2600;
constexpr double kZveiDigitHz[10] = {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200};
constexpr double kFmsBaud = 1200;

bool readInt(const QString& word, int low, int high, int* value) {
  bool ok = false;
  *value = word.toInt(&ok);
  return ok && *value >= low && *value <= high;
}

} // namespace

bool SignalScript::add(const QString& rawLine, QString* error) {
  const QString line = rawLine.trimmed();
  if (line.isEmpty() || line.startsWith(u'#'))
    return true;
  const QStringList words = line.split(QRegularExpression(QStringLiteral("\\s+")));
  const QString kind = words[0].toLower();
  bool ok = false;
  if (kind == u"gap") {
    int ms = 0;
    ok = words.size() == 2 && readInt(words[1], 0, 3'600'000, &ms);
    if (ok)
      track_.silence(ms / 1000.0);
    else
      *error = QStringLiteral("gap MILLISECONDS");
    return ok;
  }
  if (kind == u"zvei")
    ok = addZvei(words, error);
  else if (kind == u"fms")
    ok = addFms(words, error);
  else if (kind == u"pocsag")
    ok = addPocsag(line, words, error);
  else
    *error = QStringLiteral("unknown kind \"%1\"").arg(words[0]);
  if (ok) {
    track_.silence(gapSeconds_);
    ++telegrams_;
  }
  return ok;
}

bool SignalScript::addZvei(const QStringList& words, QString* error) {
  static const QRegularExpression kCode(QStringLiteral("^[0-9]{5}$"));
  if (words.size() != 2 || !kCode.match(words[1]).hasMatch()) {
    *error = QStringLiteral("zvei CODE (five digits)");
    return false;
  }
  QChar previous;
  for (const QChar digit : words[1]) {
    // A digit that repeats the one before is sent as the repeat tone, so the decoder hears a
    // change of tone.
    const bool repeat = digit == previous;
    track_.tone(repeat ? kZveiRepeatHz : kZveiDigitHz[digit.digitValue()], kZveiToneSeconds);
    previous = repeat ? QChar() : digit;
  }
  return true;
}

bool SignalScript::addFms(const QStringList& words, QString* error) {
  FmsFrame frame;
  int direction = 0;
  // "damaged" spoils three check bits: a decoder must reject the frame.
  const bool damaged = words.size() == 5 && words[4] == u"damaged";
  if ((words.size() != 4 && !damaged) || !readInt(words[2], 0, 15, &frame.status) ||
      !readInt(words[3], 0, 1, &direction)) {
    *error = QStringLiteral("fms IDENTIFIER STATUS(0-15) DIRECTION(0|1) [damaged]");
    return false;
  }
  frame.identifier = words[1];
  frame.toVehicle = direction == 1;
  frame.damagedBits = damaged ? 3 : 0;
  try {
    track_.fsk(fmsBits(frame), kFmsBaud, 1200, 1800);
  } catch (const std::invalid_argument& e) {
    *error = QString::fromStdString(e.what());
    return false;
  }
  return true;
}

bool SignalScript::addPocsag(const QString& line, const QStringList& words, QString* error) {
  PocsagPage page;
  int rate = 0;
  int ric = 0;
  const QString usage =
      QStringLiteral("pocsag 512|1200|2400 RIC FUNCTION(0-3) [alpha|numeric TEXT]");
  const bool toneOnly = words.size() == 4;
  if (words.size() < 4 || !readInt(words[1], 512, 2400, &rate) ||
      (rate != 512 && rate != 1200 && rate != 2400) || !readInt(words[2], 0, 2097151, &ric) ||
      !readInt(words[3], 0, 3, &page.function) ||
      (!toneOnly && words[4] != u"alpha" && words[4] != u"numeric")) {
    *error = usage;
    return false;
  }
  page.ric = std::uint32_t(ric);
  page.numeric = !toneOnly && words[4] == u"numeric";
  // The text is the rest of the line as written, inner spaces kept.
  static const QRegularExpression kHead(
      QStringLiteral("^\\S+\\s+\\S+\\s+\\S+\\s+\\S+\\s+\\S+\\s?"));
  page.text = toneOnly ? QString() : line.mid(kHead.match(line).capturedLength());
  try {
    track_.nrz(pocsagBits(page), rate);
  } catch (const std::invalid_argument& e) {
    *error = QString::fromStdString(e.what());
    return false;
  }
  return true;
}

} // namespace meldlux::signal
