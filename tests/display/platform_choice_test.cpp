// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/platform_choice.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

TEST(PlatformChoice, WaylandSessionsRunOnXcbUnlessTheUserChoseAPlatform) {
  const QString none;
  EXPECT_TRUE(shouldUseXcb(QStringLiteral("wayland"), none, none, {}));
  EXPECT_TRUE(shouldUseXcb(QStringLiteral("tty"), QStringLiteral("wayland-0"), none, {}));
  EXPECT_TRUE(shouldUseXcb(QStringLiteral("wayland"), none, none, {QStringLiteral("server")}));

  EXPECT_FALSE(shouldUseXcb(QStringLiteral("x11"), none, none, {}));
  EXPECT_FALSE(shouldUseXcb(none, none, none, {}));
  EXPECT_FALSE(shouldUseXcb(QStringLiteral("wayland"), none, QStringLiteral("wayland"), {}));
  EXPECT_FALSE(shouldUseXcb(QStringLiteral("wayland"), none, none,
                            {QStringLiteral("-platform"), QStringLiteral("wayland")}));
  EXPECT_FALSE(shouldUseXcb(QStringLiteral("wayland"), none, none,
                            {QStringLiteral("--platform=offscreen")}));
}

} // namespace
} // namespace meldlux
