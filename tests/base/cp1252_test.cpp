#include "base/cp1252.h"

#include <gtest/gtest.h>

using namespace meldlux;

TEST(Cp1252, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    all.append(char(b));
  const QString text = cp1252::decode(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(cp1252::encode(text), all);
}

TEST(Cp1252, MapsTheWindowsRange) {
  EXPECT_EQ(cp1252::decode("\x80"), QString(QChar(0x20AC)));
  EXPECT_EQ(cp1252::decode("\x81\x8D\x8F\x90\x9D"),
            QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D"));
  EXPECT_EQ(cp1252::decode("Einr\xFC"
                           "cken \xC4\xD6\xDC\xDF"),
            QString::fromUtf8("Einrücken ÄÖÜß"));
  EXPECT_EQ(cp1252::encode(QString::fromUtf8("Stra\u00DFe \u20AC")), QByteArray("Stra\xDF"
                                                                                "e \x80"));
}

TEST(Cp1252, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(cp1252::encode(QString::fromUtf8("a\u4E2Db\u0100")), QByteArray("a?b?"));
}
