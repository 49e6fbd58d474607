// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

struct Case {
  const char* text;
  int lockMode;
  std::optional<QString> server;
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class CommandLineTable : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTable, GivesLockModeAndServer) {
  const Case& c = GetParam();
  const CommandLine result = parseCommandLine(QString::fromUtf8(c.text));
  EXPECT_EQ(result.LockMode, c.lockMode);
  EXPECT_EQ(result.server, c.server);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineTable,
    ::testing::Values(
        // Nothing given, or only blanks: nothing changes.
        Case{"", 0, std::nullopt}, Case{"   ", 0, std::nullopt},
        // A lone word that does not begin with "/l" is the server, whatever it is.
        Case{"leitstelle.example", 0, QStringLiteral("leitstelle.example")},
        Case{"  10.0.0.5  ", 0, QStringLiteral("10.0.0.5")}, Case{"/x", 0, QStringLiteral("/x")},
        Case{"/L", 1, std::nullopt},
        // Lone switches, any letter case.
        Case{"/l", 1, std::nullopt}, Case{"/l2", 2, std::nullopt}, Case{"/L2", 2, std::nullopt},
        Case{"/l3", 3, std::nullopt}, Case{"/L3", 3, std::nullopt}, Case{"/l9", 1, std::nullopt},
        // A server name with a switch connects to that server with the lock mode.
        Case{"server /l2", 2, QStringLiteral("server")},
        Case{"/l3 server", 3, QStringLiteral("server")},
        Case{"server /L", 1, QStringLiteral("server")},
        // The last word without "/" wins; switches are taken in order, the last one counts.
        Case{"eins zwei /l", 1, QStringLiteral("zwei")},
        Case{"/l3 server /l", 1, QStringLiteral("server")},
        // When every word has a "/", the whole line decides: "/l2 /l" starts with "/l2".
        Case{"/l2 /l", 2, std::nullopt}, Case{"/l /l3", 1, std::nullopt},
        // ... and a whole line without "/l" at its start becomes the server as it stands.
        Case{"/x /l3", 3, QStringLiteral("/x /l3")},
        // Two blanks give an empty word: an empty word after the name clears the server.
        Case{"server  /l", 1, QString()}, Case{"server  x", 0, QStringLiteral("x")},
        // A switch anywhere inside a word counts in the word scan.
        Case{"a/l2b server", 2, QStringLiteral("server")}));

TEST(CommandLineText, JoinsArgumentsWithBlanks) {
  EXPECT_EQ(commandLineText({}), QString());
  EXPECT_EQ(commandLineText({QStringLiteral("server"), QStringLiteral("/l2")}),
            QStringLiteral("server /l2"));
  EXPECT_EQ(parseCommandLine(commandLineText({QStringLiteral("host"), QStringLiteral("/L3")})),
            (CommandLine{3, QStringLiteral("host")}));
}

// "--monitor" is ours: taken off first, it never becomes the server address.
TEST(CommandLineText, MonitorSwitchIsTakenOffBeforeTheRulesReadTheRest) {
  QStringList arguments{QStringLiteral("--monitor"), QStringLiteral("host"), QStringLiteral("/l2")};
  EXPECT_TRUE(takeMonitorSwitch(arguments));
  EXPECT_EQ(parseCommandLine(commandLineText(arguments)), (CommandLine{2, QStringLiteral("host")}));
  QStringList alone{QStringLiteral("--monitor")};
  EXPECT_TRUE(takeMonitorSwitch(alone));
  EXPECT_EQ(parseCommandLine(commandLineText(alone)), CommandLine{});
  QStringList none{QStringLiteral("host")};
  EXPECT_FALSE(takeMonitorSwitch(none));
  EXPECT_EQ(none, QStringList{QStringLiteral("host")});
}

TEST(CommandLineHelp, OnlyALoneHelpSwitchAsksForIt) {
  EXPECT_TRUE(asksForHelp({QStringLiteral("--help")}));
  EXPECT_TRUE(asksForHelp({QStringLiteral("-h")}));
  // With anything beside it, the original's rules read it as a server name as before.
  EXPECT_FALSE(asksForHelp({}));
  EXPECT_FALSE(asksForHelp({QStringLiteral("server"), QStringLiteral("--help")}));
  EXPECT_FALSE(asksForHelp({QStringLiteral("--help"), QStringLiteral("/l")}));
  EXPECT_FALSE(asksForHelp({QStringLiteral("help")}));
  EXPECT_TRUE(commandLineHelp().startsWith(u"Aufruf: meldlux [--monitor] [SERVER] [/l|/l2|/l3]\n"));
}

} // namespace
} // namespace meldlux
