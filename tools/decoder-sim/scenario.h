// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace meldlux::sim {

// One step of a scenario file: bytes to send, or a pause.
struct ScenarioStep {
  QByteArray bytes; // sent as one write; empty for a pause
  int pauseMs = 0;
};

struct Scenario {
  std::vector<ScenarioStep> steps;
  QString error; // "line N: ..." when the file could not be read; steps are then empty
};

// Reads a scenario. Every line is sent as it stands plus CR LF, as Windows-1252 bytes (the file
// may be UTF-8 or Windows-1252). "@sleep SECONDS" pauses, "@raw TEXT" sends TEXT with the
// escapes \r \n \t \\ \xHH and no line end. A line starting with "#" but not "#!" is a comment;
// empty lines are skipped ("@raw \r\n" sends an empty line).
Scenario parseScenario(const QByteArray& content);

// "\r", "\n", "\t", "\\" and "\xHH" in TEXT become their bytes; anything else stays as it is.
QByteArray unescape(const QString& text);
// Every byte readable in one line: printable ASCII as is, "\" as "\\", CR, LF and TAB as
// \r \n \t, everything else as \xHH.
QString escapeBytes(const QByteArray& bytes);

} // namespace meldlux::sim
