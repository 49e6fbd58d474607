#pragma once

#include "support/e2e_support.h"

#include <QProcess>
#include <QStringList>

// The generator's audio through the real multimon-ng, for the bridge's tests.
namespace meldlux::decoder_test {

inline QString multimonCommand() {
  return QStringLiteral("multimon-ng -q -t raw -a POCSAG512 -a POCSAG1200 -a POCSAG2400 "
                        "-a ZVEI1 -a FMSFSK -");
}

inline QString shellQuote(const QString& text) {
  QString quoted = text;
  quoted.replace(u'\'', QStringLiteral("'\\''"));
  return u'\'' + quoted + u'\'';
}

// The shell pipeline that plays these scenario lines into multimon-ng.
inline QString pipeline(const QStringList& lines, const QStringList& generatorOptions = {}) {
  QString command = shellQuote(e2e::binary("meldlux-signal-gen"));
  for (const QString& option : generatorOptions)
    command += u' ' + shellQuote(option);
  for (const QString& line : lines)
    command += u' ' + shellQuote(line);
  return command + QStringLiteral(" | ") + multimonCommand();
}

// multimon-ng's output lines for the scenario lines.
inline QStringList decode(const QStringList& lines, const QStringList& generatorOptions = {}) {
  QProcess shell;
  shell.start(QStringLiteral("/bin/sh"),
              {QStringLiteral("-c"), pipeline(lines, generatorOptions)});
  if (!shell.waitForFinished(60000))
    shell.kill();
  const QByteArray errors = shell.readAllStandardError();
  if (!errors.isEmpty())
    ADD_FAILURE() << errors.toStdString();
  return QString::fromUtf8(shell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace meldlux::decoder_test
