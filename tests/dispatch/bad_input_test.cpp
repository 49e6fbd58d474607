#include "dispatch_fixture.h"

#include <QRandomGenerator>

namespace meldlux::testing {
namespace {

// After any bad line, a good line in the same block must still be handled.
class BadInputTest : public DispatchTest {
protected:
  void expectNextLineHandled(const QString& bad) {
    handlers.calls.clear();
    receive(bad + QStringLiteral("\r\nZVEI\tnext"));
    ASSERT_FALSE(handlers.calls.empty());
    EXPECT_EQ(handlers.last().first, "next");
  }
};

TEST_F(BadInputTest, VeryLongLines) {
  const QString filler(1 << 20, u'x');
  expectNextLineHandled(filler);
  expectNextLineHandled(QStringLiteral("FMSTlg\t") + filler);
  expectNextLineHandled(marker(filler, "3", "false", filler));
  expectNextLineHandled(tabFms(filler, "0", filler, filler, filler));
}

TEST_F(BadInputTest, NulAndControlCharacters) {
  const QString nul(QChar(u'\0'));
  expectNextLineHandled(nul + nul + nul);
  expectNextLineHandled(QStringLiteral("ZVEI\t1") + nul + QStringLiteral("2"));
  EXPECT_EQ(handlers.calls.front().first, QStringLiteral("1") + nul + QStringLiteral("2"));
  expectNextLineHandled(marker(QStringLiteral("64") + nul + QStringLiteral("123456"), "3", "false",
                               nul + QStringLiteral("EGLOF_") + nul));
  expectNextLineHandled(QStringLiteral("\r\r\n\n\r\n\r"));
  expectNextLineHandled(QString(QChar(0xFFFF)) + QChar(0xD800) + QStringLiteral("#![]!#"));
}

TEST_F(BadInputTest, ThousandsOfFields) {
  QStringList many(5000, QStringLiteral("1"));
  many[0] = QStringLiteral("FMSTlg");
  many[8] = QStringLiteral("0");
  many[10] = QStringLiteral("2");
  many[13] = QStringLiteral(" viel ");
  expectNextLineHandled(many.join(u'\t'));
  EXPECT_EQ(handlers.calls.front().text, "viel");

  QStringList markers(5000, QStringLiteral("5"));
  markers[5] = QStringLiteral("false");
  expectNextLineHandled(markers.join(QStringLiteral("#![]!#")));
  EXPECT_EQ(handlers.calls.front().status, 5);
  expectNextLineHandled(QString(5000, u'\t'));
  expectNextLineHandled(QStringLiteral("#![]!#").repeated(5000));
}

TEST_F(BadInputTest, OddStatusFields) {
  for (const char* status : {"-1", "99999", "1e9", "-1e9", "1e999", "-", ".", "e5", "+3", "", " ",
                             "0x10", "18.0000001", "nan", "inf"}) {
    SCOPED_TRACE(status);
    expectNextLineHandled(tabFms(status, "0"));
    expectNextLineHandled(tabFms(status, "1"));
    expectNextLineHandled(marker("64123456", status, "false"));
    expectNextLineHandled(marker("64123456", status, "true", "x"));
  }
}

TEST_F(BadInputTest, OddDatesAndTimes) {
  for (const char* date :
       {"31.02.26", "00.00.00", "99.99.99", "04.12.2026", "........", "04.12.26\t", "4.12.26 x"}) {
    SCOPED_TRACE(date);
    expectNextLineHandled(marker("1", "16", "false", {}, 11, date, "20:15:00"));
    expectNextLineHandled(marker("1", "16", "false", {}, 11, "04.12.26", date));
  }
}

TEST_F(BadInputTest, ShortMarkerLines) {
  for (int count = 1; count <= 12; ++count) {
    SCOPED_TRACE(count);
    QStringList f(count, QStringLiteral("17"));
    expectNextLineHandled(f.join(QStringLiteral("#![]!#")));
  }
  // Exactly 11 fields of type 17: a POCSAG alarm without text.
  handlers.calls.clear();
  receiveLine(marker("12345", "17", "false", {}, 11));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.last().text, "");
}

// Random blocks made of protocol fragments: nothing may crash, counters stay consistent.
TEST_F(BadInputTest, RandomFragments) {
  const QStringList fragments = {"#!XX!#",
                                 "#![]!#",
                                 "\t",
                                 "\r\n",
                                 "\r",
                                 "\n",
                                 "ZVEI",
                                 "FMSTlg",
                                 "POC",
                                 "17",
                                 "16",
                                 "10",
                                 "false",
                                 "0",
                                 "1",
                                 "EGLOF_BAVARIA",
                                 "EGLOF_GPSINFO : ",
                                 " : ",
                                 ";TRN",
                                 "&TRN",
                                 "(",
                                 ")",
                                 "04.12.26",
                                 "20:15:00",
                                 "31.02.26",
                                 "-1",
                                 "1e9",
                                 "99999",
                                 " ",
                                 "",
                                 QString(QChar(0)),
                                 "\xc3\xa4"};
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
