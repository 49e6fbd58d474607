// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace meldlux {

// What the command line asks for: the lock mode (0 normal, 1 window locked away, 2 and 3 also
// no exit from the tray menu) and, when given, the server address for this run.
struct CommandLine {
  std::int16_t LockMode = 0;
  std::optional<QString> server; // replaces txtSrv; may be empty (clears the box)

  bool operator==(const CommandLine&) const = default;
};

// Takes every "--monitor" (the hall monitor, shown all the time) off the arguments, before the
// rules below read the rest; whether there was one.
bool takeMonitorSwitch(QStringList& arguments);

// The process's arguments (without the program itself) as the one text the rules look at.
QString commandLineText(const QStringList& arguments);

// Reads an optional server name and the switches "/l", "/l2", "/l3", ignoring letter case.
CommandLine parseCommandLine(const QString& text);

// "--help" or "-h" alone: the user wants the usage text, not a server of that name (which no
// server can be called). With any other argument beside it, it is read as the rules say.
bool asksForHelp(const QStringList& arguments);
// The usage text, in German like the program.
QString commandLineHelp();

} // namespace meldlux
