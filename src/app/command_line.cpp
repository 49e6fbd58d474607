// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "base/numbers.h"

namespace meldlux {

namespace {

// The switch levels are tested one after the other, so a later, higher one wins.
std::int16_t lockLevelOfWord(const QString& word) {
  std::int16_t mode = 1;
  if (word.contains(u"/l2", Qt::CaseInsensitive))
    mode = 2;
  if (word.contains(u"/l3", Qt::CaseInsensitive))
    mode = 3;
  return mode;
}

std::int16_t lockLevelOfStart(const QString& text) {
  std::int16_t mode = 1;
  if (text.startsWith(u"/l2", Qt::CaseInsensitive))
    mode = 2;
  if (text.startsWith(u"/l3", Qt::CaseInsensitive))
    mode = 3;
  return mode;
}

} // namespace

bool takeMonitorSwitch(QStringList& arguments) {
  return arguments.removeAll(QStringLiteral("--monitor")) > 0;
}

QString commandLineText(const QStringList& arguments) { return arguments.join(u' '); }

CommandLine parseCommandLine(const QString& text) {
  CommandLine result;
  const QString whole = trimSpaces(text);
  if (whole.isEmpty())
    return result;

  QString server = whole;
  if (whole.contains(u' ')) {
    // Two blanks in a row give an empty word, which counts as a server name like any other.
    for (const QString& word : whole.split(u' ')) {
      if (!word.contains(u'/'))
        server = word;
      if (word.contains(u"/l", Qt::CaseInsensitive))
        result.LockMode = lockLevelOfWord(word);
    }
  }

  if (server.startsWith(u"/l", Qt::CaseInsensitive))
    result.LockMode = lockLevelOfStart(server);
  else
    result.server = server;
  return result;
}

bool asksForHelp(const QStringList& arguments) {
  return arguments.size() == 1 && (arguments.first() == u"--help" || arguments.first() == u"-h");
}

QString commandLineHelp() {
  return QStringLiteral(
      "Aufruf: meldlux [--monitor] [SERVER] [/l|/l2|/l3]\n"
      "Zeigt die Telegramme eines Decoder-Servers (FMS, ZVEI, POCSAG) in einer Leiste am\n"
      "Bildschirmrand, mit Tönen und einem Symbol im Infobereich.\n"
      "\n"
      "  SERVER  für diesen Lauf mit diesem Server verbinden statt mit dem der Einstellungen\n"
      "  /l      das Fenster der Einstellungen sperren\n"
      "  /l2     dazu den Eintrag \"Beenden\" im Menü des Infobereichs sperren (/l3 ebenso)\n"
      "  --monitor  dazu den Alarmmonitor über den ganzen Bildschirm zeigen\n"
      "Groß- und Kleinschreibung gilt gleich. Die Stammdaten liest Meldlux aus dem\n"
      "Arbeitsverzeichnis; mehr in der Bedienungsanleitung (BEDIENUNG.md) und in man meldlux.\n");
}

} // namespace meldlux
