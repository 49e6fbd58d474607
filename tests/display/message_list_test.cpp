// SPDX-License-Identifier: GPL-3.0-or-later
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

} // namespace
} // namespace meldlux
