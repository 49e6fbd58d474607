// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-signal-gen: raw audio (22 050 Hz, signed 16-bit little-endian, mono) of ZVEI 1, FMS
// and POCSAG telegrams, for multimon-ng or a receiver's audio input.
#include "app/qt_german_texts.h"
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
  const auto qtGermanTexts = meldlux::installQtGermanTexts(); // Qt's own words in --help

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Schreibt Rohdaten (22050 Hz, 16 Bit mit Vorzeichen, Little Endian, mono) von ZVEI-1-, FMS-\n"
      "und POCSAG-Telegrammen, eines nach dem anderen mit Pausen. Jede ZEILE und jede Zeile der\n"
      "--scenario DATEI ist eine von:\n"
      "  zvei CODE                                  z. B. zvei 21001\n"
      "  fms KENNUNG STATUS RICHTUNG [damaged]      z. B. fms 64121011 3 0\n"
      "  pocsag RATE RIC FUNKTION alpha|numeric TEXT z. B. pocsag 1200 1234567 0 alpha Brand\n"
      "  pocsag RATE RIC FUNKTION                   ein Ruf ohne Text\n"
      "  gap MILLISEKUNDEN\n"
      "Richtung 0 ist vom Fahrzeug zur Leitstelle, 1 umgekehrt; Funktion 0-3 ist die Unteradresse\n"
      "A-D; damaged verdirbt ein FMS-Telegramm unrettbar (multimon-ng liest Funktion 0 als\n"
      "numerisch, außer mit -f alpha); Umlaute gehen über den deutschen 7-Bit-Zeichensatz.\n"
      "Beispiel: meldlux-signal-gen \"zvei 21001\" | multimon-ng -q -t raw -a ZVEI1 -"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption scenario(QStringLiteral("scenario"),
                                    QStringLiteral("Liest Zeilen aus DATEI, vor den ZEILEn."),
                                    QStringLiteral("DATEI"));
  const QCommandLineOption output(
      QStringLiteral("output"), QStringLiteral("Schreibt in DATEI statt auf die Standardausgabe."),
      QStringLiteral("DATEI"));
  const QCommandLineOption gap(QStringLiteral("gap"),
                               QStringLiteral("Stille nach jedem Telegramm in ms (Vorgabe 500)."),
                               QStringLiteral("MS"), QStringLiteral("500"));
  const QCommandLineOption noise(
      QStringLiteral("noise"),
      QStringLiteral("Mischt weißes Rauschen mit diesem Signal-Rausch-Abstand bei."),
      QStringLiteral("DB"));
  const QCommandLineOption seed(QStringLiteral("seed"),
                                QStringLiteral("Startwert des Rauschens (Vorgabe 1)."),
                                QStringLiteral("N"), QStringLiteral("1"));
  parser.addOptions({scenario, output, gap, noise, seed});
  parser.addPositionalArgument(QStringLiteral("ZEILE"),
                               QStringLiteral("Ein Telegramm oder eine Pause."),
                               QStringLiteral("[ZEILE...]"));
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
