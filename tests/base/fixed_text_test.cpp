#include "base/fixed_text.h"

#include <gtest/gtest.h>

using namespace meldlux;

TEST(FixedText, NeverStoredHoldsNuls) {
  FixedText<8> field;
  EXPECT_EQ(field.text(), QString(8, QChar(0)));
  EXPECT_FALSE(field.equals(u""));
}

TEST(FixedText, StoringPadsOrCuts) {
  FixedText<8> field;
  field.store(u"ABC");
  EXPECT_EQ(field.text(), u"ABC     ");
  field.store(u"123456789");
  EXPECT_EQ(field.text(), u"12345678");
  field.store(u"");
  EXPECT_EQ(field.text(), u"        ");
}

TEST(FixedText, ComparesAllCharacters) {
  FixedText<8> field(u"6123ABCD");
  EXPECT_TRUE(field.equals(u"6123ABCD"));
  EXPECT_FALSE(field.equals(u"6123abcd"));
  EXPECT_FALSE(field.equals(u"6123ABC"));
  FixedText<8> shortOne(u"6123ABC");
  EXPECT_FALSE(shortOne.equals(u"6123ABC")); // padded with a blank
  EXPECT_TRUE(shortOne.equals(u"6123ABC "));
  EXPECT_FALSE(FixedText<8>() == FixedText<8>(u""));
}
