#include "base/failure.h"
#include "display/message_list.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

TEST(MessageList, ThirtySecondLinePushesTheOldestOut) {
  MessageList list;
  for (int i = 1; i <= 32; ++i)
    list.push(MessageEntry{46000.0 + i, QStringLiteral("Zeile %1").arg(i), i});
  EXPECT_EQ(list[0].Text, "Zeile 32");
  EXPECT_EQ(list[30].Text, "Zeile 2"); // "Zeile 1" has fallen off the end
  EXPECT_EQ(list[30].colour, 2);
  EXPECT_THROW(list[31], Failure);
  EXPECT_THROW(list[-1], Failure);
}

TEST(MessageList, RecentTextsMatchTrimmedAndOnlyWithinTheWindow) {
  MessageList list;
  const double t = 46000.5;
  list.push(MessageEntry{t, QStringLiteral("  Florian 1  "), 1});
  const double at = t * kSecondsPerDay;
  EXPECT_TRUE(list.containsRecent(QStringLiteral("Florian 1"), at + 59.9, 60));
  EXPECT_FALSE(list.containsRecent(QStringLiteral("Florian 1"), at + 60, 60));
  EXPECT_FALSE(list.containsRecent(QStringLiteral("florian 1"), at, 60)); // case counts
  EXPECT_FALSE(list.containsRecent(QString(), at, 60));                   // empty slots never match
}

} // namespace
} // namespace meldlux
