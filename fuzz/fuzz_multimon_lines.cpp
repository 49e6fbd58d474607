// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds multimon-ng's output, as the bridge reads it from the decoder's pipe, line by line
// through the bridge's parser, and every telegram it makes through the JSON the station's bridge
// reads back.
//
// Input: 1 option byte (bit 0: the German 7-bit set for pager texts), then the output's bytes,
// split into lines at LF as the line source does.
//
// Nothing may crash; besides that, what must hold whatever the decoder prints:
// - every line that is not blank counts exactly once: decoded, a failed check, or unreadable;
// - a telegram is counted as decoded and told through the signal exactly once, the same one;
// - its wire line starts with the kind's marker and no field holds a TAB, CR, LF or NUL, so a
//   client reads exactly the fields meant;
// - the station's end takes it back from the JSON as the very same line.
#include "multimon_line_parser.h"
#include "property.h"
#include "qt_application.h"
#include "telegram_json.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimeZone>
#include <cstdint>

namespace {

using namespace meldlux::multimon;

void checkTelegram(const DecodedTelegram& telegram) {
  require(!telegram.wireFields.isEmpty(), "a telegram without wire fields");
  const QString& marker = telegram.wireFields.first();
  switch (telegram.kind) {
  case DecodedTelegram::Kind::Zvei: require(marker == u"ZVEI", "ZVEI without its marker"); break;
  case DecodedTelegram::Kind::Pocsag: require(marker == u"POC", "POCSAG without its marker"); break;
  case DecodedTelegram::Kind::Fms: require(marker == u"FMSTlg", "FMS without its marker"); break;
  }
  for (const QString& field : telegram.wireFields)
    for (const QChar c : field)
      require(c != u'\t' && c != u'\r' && c != u'\n' && c != QChar(0),
              "a wire field with a TAB, CR, LF or NUL");
  static const QDateTime kWhen(QDate(2026, 12, 8), QTime(12, 0), QTimeZone::utc());
  const auto back = TelegramJson::decode(
      TelegramJson::encode(telegram, QStringLiteral("run-1"), QStringLiteral("wache"), kWhen));
  require(back.has_value(), "the station refuses a telegram the receiver published");
  require(back->line == telegram.wireLine(), "the station reads another line than was sent");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  needQtApplication("fuzz_multimon_lines");
  if (size == 0)
    return 0;

  MultimonLineParser parser({(data[0] & 1) != 0});
  int told = 0;
  QString toldLine;
  QObject::connect(&parser, &MultimonLineParser::telegramDecoded,
                   [&](const DecodedTelegram& t) {
                     ++told;
                     toldLine = t.wireLine();
                   });
  const QByteArray output(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  for (const QByteArray& bytes : output.split('\n')) {
    const QString line = QString::fromUtf8(bytes);
    QStringView content = line;
    while (!content.isEmpty() && (content.back() == u'\r' || content.back() == u'\n'))
      content.chop(1);
    const qint64 countedBefore = parser.decoded() + parser.rejectedChecks() + parser.unreadable();
    const qint64 decodedBefore = parser.decoded();
    told = 0;
    const auto telegram = parser.parse(line);
    const qint64 counted =
        parser.decoded() + parser.rejectedChecks() + parser.unreadable() - countedBefore;
    require(counted == (content.trimmed().isEmpty() ? 0 : 1), "a line not counted exactly once");
    require((parser.decoded() - decodedBefore == 1) == telegram.has_value(),
            "a telegram and the decoded count disagree");
    require(told == (telegram ? 1 : 0), "a telegram not told exactly once");
    if (telegram) {
      require(toldLine == telegram->wireLine(), "the signal told another telegram");
      checkTelegram(*telegram);
    }
  }
  return 0;
}
