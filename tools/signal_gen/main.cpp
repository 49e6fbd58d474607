// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-signal-gen: raw audio (22 050 Hz, signed 16-bit little-endian, mono) of ZVEI 1, FMS
// and POCSAG telegrams, for multimon-ng or a receiver's audio input.
#include "signal_script.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

using meldlux::signal::SignalScript;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("meldlux-signal-gen"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MELDLUX_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Writes raw audio (22050 Hz, signed 16-bit little-endian, mono) of ZVEI 1, FMS and POCSAG\n"
      "telegrams, one after another with gaps. Each LINE, and each line of --scenario FILE, is one\n"
      "of:\n"
      "  zvei CODE                                  e.g. zvei 21001\n"
      "  fms IDENTIFIER STATUS DIRECTION [damaged]  e.g. fms 64121011 3 0\n"
      "  pocsag RATE RIC FUNCTION alpha|numeric TEXT e.g. pocsag 1200 1234567 0 alpha Brand\n"
      "  pocsag RATE RIC FUNCTION                   a page without a message\n"
      "  gap MILLISECONDS\n"
      "Direction 0 is vehicle to control centre, 1 the other way; function 0-3 is sub-address\n"
      "A-D; damaged spoils an FMS frame beyond repair (multimon-ng reads function 0 as numeric unless run with -f alpha); umlauts go out through the German 7-bit set.\n"
      "Example: meldlux-signal-gen \"zvei 21001\" | multimon-ng -q -t raw -a ZVEI1 -"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption scenario(QStringLiteral("scenario"),
                                    QStringLiteral("Reads lines from FILE, before the LINEs."),
                                    QStringLiteral("FILE"));
  const QCommandLineOption output(QStringLiteral("output"),
                                  QStringLiteral("Writes to FILE instead of standard output."),
                                  QStringLiteral("FILE"));
  const QCommandLineOption gap(QStringLiteral("gap"),
                               QStringLiteral("Silence after each telegram (default 500)."),
                               QStringLiteral("MS"), QStringLiteral("500"));
  const QCommandLineOption noise(QStringLiteral("noise"),
                                 QStringLiteral("Adds white noise at this signal-to-noise ratio."),
                                 QStringLiteral("DB"));
  const QCommandLineOption seed(QStringLiteral("seed"),
                                QStringLiteral("Seed of the noise (default 1)."),
                                QStringLiteral("N"), QStringLiteral("1"));
  parser.addOptions({scenario, output, gap, noise, seed});
  parser.addPositionalArgument(QStringLiteral("LINE"), QStringLiteral("A telegram or a gap."),
                               QStringLiteral("[LINE...]"));
  parser.process(app);

  bool ok = false;
  const int gapMs = parser.value(gap).toInt(&ok);
  if (!ok || gapMs < 0) {
    std::fprintf(stderr, "meldlux-signal-gen: --gap wants milliseconds\n");
    return 2;
  }
  SignalScript script(gapMs / 1000.0);
  script.track().silence(0.2); // the decoders settle before the first telegram
  QStringList lines;
  if (parser.isSet(scenario)) {
    QFile file(parser.value(scenario));
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "meldlux-signal-gen: cannot read %s\n",
                   qPrintable(parser.value(scenario)));
      return 1;
    }
    lines = QString::fromUtf8(file.readAll()).split(u'\n');
  }
  lines += parser.positionalArguments();
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QString error;
    if (!script.add(lines[i], &error)) {
      std::fprintf(stderr, "meldlux-signal-gen: \"%s\": %s\n", qPrintable(lines[i].trimmed()),
                   qPrintable(error));
      return 2;
    }
  }
  if (parser.isSet(noise)) {
    const double snr = parser.value(noise).toDouble(&ok);
    if (!ok) {
      std::fprintf(stderr, "meldlux-signal-gen: --noise wants decibels\n");
      return 2;
    }
    script.track().addNoise(snr, parser.value(seed).toUInt());
  }
  const QByteArray bytes = script.track().toS16le();
  QFile out;
  const bool opened = parser.isSet(output)
                          ? (out.setFileName(parser.value(output)),
                             out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                          : out.open(stdout, QIODevice::WriteOnly);
  if (!opened || out.write(bytes) != bytes.size() || !out.flush()) {
    std::fprintf(stderr, "meldlux-signal-gen: cannot write the audio\n");
    return 1;
  }
  return 0;
}
