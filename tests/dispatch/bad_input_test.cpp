// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch_fixture.h"

#include <QRandomGenerator>

namespace meldlux::testing {
namespace {

// After any bad line, a good line in the same block must still be handled.
class BadInputTest : public DispatchTest {
protected:
  void expectNextLineHandled(const QString& bad) {
    handlers.clear();
    receive(QStringList{bad, "ZVEI\tnext"});
    ASSERT_FALSE(handlers.calls.empty());
    EXPECT_EQ(handlers.calls.last(), "Z:next");
  }
};

TEST_F(BadInputTest, VeryLongLinesNulsControlCharactersAndThousandsOfFields) {
  const QString filler(1 << 20, u'x');
  const QString nul(QChar(u'\0'));
  for (const QString& bad :
       {filler, "FMSTlg\t" + filler, marker(filler, "3", "false", filler),
        tabFms(filler, "0", filler, filler, filler), nul + nul + nul,
        marker("64" + nul + "123456", "3", "false", nul + "EGLOF_" + nul),
        QString("\r\r\n\n\r\n\r"), QString(QChar(0xFFFF)) + QChar(0xD800) + "#![]!#",
        QString(5000, u'\t'), QString("#![]!#").repeated(5000)})
    expectNextLineHandled(bad);

  expectNextLineHandled("ZVEI\t1" + nul + "2");
  EXPECT_EQ(handlers.calls.front(), "Z:1" + nul + "2");

  QStringList many(5000, "1");
  many[0] = "FMSTlg";
  many[8] = "0";
  many[10] = "2";
  many[13] = " viel ";
  expectNextLineHandled(many.join(u'\t'));
  EXPECT_EQ(handlers.calls.front(), "V:1:1:viel");
  QStringList markers(5000, "5");
  markers[5] = "false";
  expectNextLineHandled(markers.join("#![]!#"));
  EXPECT_EQ(handlers.calls.front(), "V:5:5:5");
}

TEST_F(BadInputTest, OddStatusFieldsDatesAndShortMarkerLines) {
  for (const char* status : {"-1", "99999", "1e9", "-1e9", "1e999", "-", ".", "e5", "+3", "", " ",
                             "0x10", "18.0000001", "nan", "inf"}) {
    SCOPED_TRACE(status);
    for (const QString& line :
         {tabFms(status, "0"), tabFms(status, "1"), vehicle(status), control(status, "x")})
      expectNextLineHandled(line);
  }
  for (const char* date :
       {"31.02.26", "00.00.00", "99.99.99", "04.12.2026", "........", "04.12.26\t", "4.12.26 x"}) {
    SCOPED_TRACE(date);
    expectNextLineHandled(marker("1", "16", "false", {}, 11, date, "20:15:00"));
    expectNextLineHandled(marker("1", "16", "false", {}, 11, "04.12.26", date));
  }
  for (int count = 1; count <= 12; ++count) {
    SCOPED_TRACE(count);
    expectNextLineHandled(QStringList(count, "17").join("#![]!#"));
  }
}

// Random blocks made of protocol fragments: nothing may crash, counters stay consistent.
TEST_F(BadInputTest, RandomFragments) {
  const QStringList fragments =
      (QStringLiteral(
           "#!XX!#|#![]!#|\t|\r\n|\r|\n|ZVEI|FMSTlg|POC|17|16|10|false|0|1|EGLOF_BAVARIA|"
           "EGLOF_GPSINFO : | : |;TRN|&TRN|(|)|04.12.26|20:15:00|31.02.26|-1|1e9|99999| ||") +
       QChar(0) + QStringLiteral("|\u00e4"))
          .split(u'|');
  QRandomGenerator random(20261204);
  for (int round = 0; round < 3000; ++round) {
    QString block;
    const int parts = int(random.bounded(1, 80));
    for (int i = 0; i < parts; ++i)
      block += fragments[qsizetype(random.bounded(fragments.size()))];
    const auto pieces = qsizetype(block.count(QStringLiteral("\r\n"))) + 1;
    const auto burstBefore = state.ReceiveBurstCount;
    const auto totalBefore = state.ReceivedTotal;
    receive(block);
    ASSERT_EQ(state.ReceiveBurstCount, burstBefore + pieces) << block.toStdString();
    ASSERT_LE(state.ReceivedTotal - totalBefore, pieces);
  }
  EXPECT_EQ(statusLabel.caption(), "Unbekannt");
}

} // namespace
} // namespace meldlux::testing
