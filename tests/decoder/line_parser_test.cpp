// SPDX-License-Identifier: GPL-3.0-or-later
#include "multimon_line_parser.h"
#include "support/multimon_run.h"

#include <gtest/gtest.h>

using meldlux::multimon::MultimonLineParser;
using namespace meldlux::decoder_test;

namespace {

struct Case {
  const char* sent;     // a generator line
  const char* expected; // the wire line, TABs as "|"
};

QString bars(QString line) { return line.replace(u'\t', u'|'); }

} // namespace

// Each case goes on air, through the real multimon-ng, and into the parser.
TEST(LineParser, RealMultimonOutputMapsToWireLines) {
  const Case cases[] = {
      {"zvei 21001", "ZVEI|21001"},
      {"zvei 22334", "ZVEI|22334"}, // repeat tones twice
      {"zvei 11111", "ZVEI|11111"},
      {"fms 64121011 3 0", "FMSTlg|64121011|6|4|12|1011|3|0|0|0|0|0|0|"},
      {"fms 94128371 2 1", "FMSTlg|94128371|9|4|12|8371|2|0|1|0|0|0|0|"},
      {"fms A4128573 15 0", "FMSTlg|A4128573|A|4|12|8573|15|0|0|0|0|0|0|"},
      {"fms 64121011 3 0 damaged", nullptr},
      {"pocsag 1200 1234567 0 numeric 0123456789", "POC|1234567|A|0123456789"},
      {"pocsag 1200 1234567 1 alpha Brand in der Küche", "POC|1234567|B|Brand in der Küche"},
      {"pocsag 512 1234568 2 alpha ÄÖÜ äöü ß", "POC|1234568|C|ÄÖÜ äöü ß"},
      {"pocsag 2400 2097151 3 alpha Probealarm 12:00", "POC|2097151|D|Probealarm 12:00"},
      {"pocsag 512 8 3", "POC|8|D|"}, // no message: the tone-only page
  };
  QStringList sent;
  QStringList expected;
  for (const Case& c : cases) {
    sent << QString::fromUtf8(c.sent);
    if (c.expected != nullptr)
      expected << QString::fromUtf8(c.expected);
  }
  const QStringList output = decode(sent);
  MultimonLineParser parser({});
  QStringList got;
  for (const QString& line : output)
    if (const auto telegram = parser.parse(line))
      got << bars(telegram->wireLine());
  EXPECT_EQ(got.join(u'\n').toStdString(), expected.join(u'\n').toStdString())
      << "multimon-ng printed:\n"
      << output.join(u'\n').toStdString();
  EXPECT_EQ(parser.rejectedChecks(), 1) << "the damaged frame";
  EXPECT_EQ(parser.unreadable(), 0);
}

// Lines met on real output that generated clean audio does not give, and lines that are not
// telegrams; the FMS lines were printed by multimon-ng 1.2.0 on generated audio.
TEST(LineParser, RepairedFramesPassControlMarksGoAndBrokenLinesAreCounted) {
  struct Line {
    const char* in;
    const char* expected; // nullptr: dropped
    bool german = true;
  };
  const Line lines[] = {
      {"FMS: 371315910146 (6=Feuerwehr     \t4=Berlin          \tOrt 0x10=016\tFZG 1951\t"
       "Status 3=Einsatz Ab    \t0=FZG->LST\t0=I  (ohneNA,ohneSIGNAL)\t) CRC correct AFTER "
       "SWAPPING ONE BIT",
       "FMSTlg|64101951|6|4|10|1951|3|0|0|0|0|0|0|"},
      {"FMS: 301311012146 (6=Feuerwehr     \t4=Berlin          \tOrt 0x12=018\tFZG 1011\t"
       "Status 3=Einsatz Ab    \t0=FZG->LST\t0=I  (ohneNA,ohneSIGNAL)\t) CRC INCORRECT (20)",
       nullptr},
      {"POCSAG512: Address: 1000001  Function: 2  Alpha:   ]bung<LF>Zug 1<EOT><NUL>",
       "POC|1000001|C|Übung Zug 1"},
      {"POCSAG512: Address: 1000001  Function: 2  Alpha:   ]bung<HT>{|}~<EOT><NUL>",
       "POC|1000001|C|]bung {|}~", false},
      {"POCSAG1200: Address: 1000003  Function: 0  Numeric: [0]", "POC|1000003|A|[0]"},
      {"ZVEI1: 2E3E4", "ZVEI|22334"},
      {"ZVEI1: E1234", nullptr},   // a repeat tone cannot come first
      {"ZVEI1: 21", nullptr},      // cut short
      {"POCSAG1200: Address: 12345678  Function: 0", nullptr},
      {"POCSAG1200: Address: 1234  Function: 5", nullptr},
      {"FMS: 371311012146 (6=Feuerwehr\t4=Berlin) CRC correct", nullptr},
      {"FMS: 371311012146 (x=Feuerwehr\t4=Berlin\tOrt 0x12=018\tFZG 1011\tStatus 3=E\t"
       "0=FZG->LST\t0=I\t) CRC correct",
       nullptr},
      {"multimon-ng 1.2.0", nullptr},
  };
  int dropped = 0;
  for (const Line& line : lines) {
    MultimonLineParser parser({.germanCharset = line.german});
    int signalled = 0;
    QObject::connect(&parser, &MultimonLineParser::telegramDecoded, [&] { ++signalled; });
    const auto telegram = parser.parse(QString::fromUtf8(line.in));
    const QString got = telegram ? bars(telegram->wireLine()) : QStringLiteral("(dropped)");
    const QString want = line.expected ? QString::fromUtf8(line.expected) : "(dropped)";
    EXPECT_EQ(got, want) << line.in;
    EXPECT_EQ(signalled, telegram ? 1 : 0) << line.in;
    dropped += telegram ? 0 : 1;
    EXPECT_EQ(parser.unreadable() + parser.rejectedChecks(), telegram ? 0 : 1) << line.in;
  }
  EXPECT_EQ(dropped, 8);
}

// Printed by multimon-ng on generated audio with noise: a false FMS decode landed inside a
// five-tone line.
TEST(LineParser, FiveToneLineCutByAnotherDecoderIsJoined) {
  MultimonLineParser parser({});
  QStringList got;
  for (const char* line :
       {"ZVEI1: 21FMS: 987d8bf82b12 (2=BGS           \t1=Bund            \tOrt 0xb2=178\tFZG "
        "8fb8\tStatus d=KurzTextQuit\t0=FZG->LST\t0=I  (ohneNA,ohneSIGNAL)\t) CRC INCORRECT (2)",
        "0E1", "ZVEI1: 2FMS: garbage", "ZVEI1: 23456"}) {
    if (const auto telegram = parser.parse(QString::fromUtf8(line)))
      got << bars(telegram->wireLine());
  }
  // The second cut line has no continuation: its fragment is given up, the next line stands.
  EXPECT_EQ(got.join(u' ').toStdString(), "ZVEI|21001 ZVEI|23456");
  EXPECT_EQ(parser.rejectedChecks(), 1);
  EXPECT_EQ(parser.unreadable(), 1); // "FMS: garbage"
}
