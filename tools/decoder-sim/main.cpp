// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-decoder-sim: a stand-in for the decoder server that Meldlux connects to.

#include "app/qt_german_texts.h"
#include "base/utf8_console.h"
#include "scenario.h"
#include "sim_server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) { stopRequested = 1; }

const char* const kDescription =
    R"(Ein Ersatz für den Decoder-Server: Meldlux (oder ein anderer Client) verbindet sich
über TCP mit ihm.

Er wartet auf 127.0.0.1:7778, wenn nicht anders angegeben, nimmt mehrere Clients
zugleich an und gibt jedes Byte aus, das ein Client sendet, maskiert (\r \n \t \\
\xHH), eine Zeile je Empfang. Ein Client, der die Zeile "Exit" sendet, wird
getrennt. Mit --password bekommt ein Client erst Daten, wenn er "PASS:<Passwort>"
CR LF gesendet hat; ein falsches Passwort trennt ihn.

Gesendet wird in Windows-1252 mit CR LF am Zeilenende:
  Lebenszeichen  "#!XX!#" alle --heartbeat Sekunden an jeden angemeldeten Client.
  Szenario       --scenario DATEI wird jedem Client nach seiner Anmeldung
                 vorgespielt, jede Zeile wie sie steht plus CR LF (Datei in UTF-8
                 oder Windows-1252).
                   @sleep SEKUNDEN  Pause (auch Bruchteile)
                   @raw TEXT        TEXT mit den Masken \r \n \t \\ \xHH und ohne
                                    Zeilenende (teilt eine Zeile auf zwei Blöcke)
                   # Kommentar      eine Zeile, die mit "#" beginnt, aber nicht mit "#!"
                 Leere Zeilen werden übersprungen. --loop spielt es immer wieder.
  erzeugt        --rate N Telegramme je Sekunde an alle angemeldeten Clients, ab
                 der ersten Anmeldung, --duration Sekunden lang (0 = bis zum Ende):
                 FMS-Telegramme von Fahrzeugen und Leitstelle, ZVEI- und POCSAG-
                 Alarme im --format tab, marker oder mixed; Zeilen mit Markern
                 tragen Datum und Uhrzeit des Augenblicks.

SIGINT oder SIGTERM trennt alle Clients und beendet das Programm.)";

} // namespace

int main(int argc, char** argv) {
  const meldlux::Utf8Console console;
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("meldlux-decoder-sim"));
  const auto qtGermanTexts = meldlux::installQtGermanTexts(); // Qt's own words in --help

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
  parser.addHelpOption();
  const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP-Port (Vorgabe 7778)."),
                                QStringLiteral("PORT"), QStringLiteral("7778"));
  const QCommandLineOption listen(QStringLiteral("listen"),
                                  QStringLiteral("Adresse, auf der er wartet (Vorgabe 127.0.0.1)."),
                                  QStringLiteral("ADRESSE"), QStringLiteral("127.0.0.1"));
  const QCommandLineOption password(QStringLiteral("password"),
                                    QStringLiteral("Verlangt dieses Passwort bei der Anmeldung."),
                                    QStringLiteral("PASSWORT"));
  const QCommandLineOption heartbeat(QStringLiteral("heartbeat"),
                                     QStringLiteral("Sekunden zwischen Lebenszeichen (0 = keine)."),
                                     QStringLiteral("SEKUNDEN"), QStringLiteral("0"));
  const QCommandLineOption scenario(QStringLiteral("scenario"),
                                    QStringLiteral("Spielt jedem Client diese Szenariodatei vor."),
                                    QStringLiteral("DATEI"));
  const QCommandLineOption loop(QStringLiteral("loop"),
                                QStringLiteral("Spielt das Szenario immer wieder."));
  const QCommandLineOption rate(QStringLiteral("rate"),
                                QStringLiteral("Erzeugte Telegramme je Sekunde (0 = keine)."),
                                QStringLiteral("N"), QStringLiteral("0"));
  const QCommandLineOption format(QStringLiteral("format"),
                                  QStringLiteral("Zeilenformat: tab, marker oder mixed (Vorgabe)."),
                                  QStringLiteral("FORMAT"), QStringLiteral("mixed"));
  const QCommandLineOption duration(
      QStringLiteral("duration"),
      QStringLiteral("Sekunden erzeugter Telegramme (0 = bis zum Ende)."), QStringLiteral("S"),
      QStringLiteral("0"));
  const QCommandLineOption seed(
      QStringLiteral("seed"),
      QStringLiteral("Startwert des Zufalls der erzeugten Telegramme (Vorgabe 1)."),
      QStringLiteral("N"), QStringLiteral("1"));
  parser.addOptions(
      {port, listen, password, heartbeat, scenario, loop, rate, format, duration, seed});
  auto fail = [](const QString& message) {
    std::fprintf(stderr, "meldlux-decoder-sim: %s\n", message.toUtf8().constData());
    return 2;
  };
  // Not Qt's process(): it writes in the system's code page (and on Windows without a console
  // into a message box); ours is UTF-8 everywhere.
  if (!parser.parse(app.arguments()))
    return fail(parser.errorText());
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(parser.helpText().toUtf8().constData(), stdout);
    return 0;
  }
  auto number = [&](const QCommandLineOption& option, double low, double high, double* out) {
    bool ok = false;
    *out = parser.value(option).toDouble(&ok);
    return ok && *out >= low && *out <= high;
  };

  meldlux::sim::SimSettings settings;
  double value = 0;
  if (!number(port, 0, 65535, &value))
    return fail(QStringLiteral("--port needs a number from 0 to 65535"));
  settings.port = quint16(value);
  if (!settings.listen.setAddress(parser.value(listen)))
    return fail(QStringLiteral("--listen needs an IP address"));
  settings.password = parser.value(password);
  if (!number(heartbeat, 0, 86400, &settings.heartbeat))
    return fail(QStringLiteral("--heartbeat needs seconds from 0 to 86400"));
  if (!number(rate, 0, 1e6, &settings.rate))
    return fail(QStringLiteral("--rate needs a number from 0 to 1000000"));
  if (!number(duration, 0, 1e7, &settings.duration))
    return fail(QStringLiteral("--duration needs seconds"));
  if (!number(seed, 0, 4294967295.0, &value))
    return fail(QStringLiteral("--seed needs a whole number"));
  settings.seed = quint32(value);
  const QString formatName = parser.value(format);
  if (formatName == QStringLiteral("tab"))
    settings.format = meldlux::sim::TelegramGenerator::Format::Tab;
  else if (formatName == QStringLiteral("marker"))
    settings.format = meldlux::sim::TelegramGenerator::Format::Marker;
  else if (formatName != QStringLiteral("mixed"))
    return fail(QStringLiteral("--format is tab, marker or mixed"));
  if (parser.isSet(scenario)) {
    QFile file(parser.value(scenario));
    if (!file.open(QIODevice::ReadOnly))
      return fail(parser.value(scenario) + QStringLiteral(": ") + file.errorString());
    settings.scenario = meldlux::sim::parseScenario(file.readAll());
    if (!settings.scenario.error.isEmpty())
      return fail(parser.value(scenario) + QStringLiteral(": ") + settings.scenario.error);
  }
  settings.loop = parser.isSet(loop);

  meldlux::sim::SimServer server(std::move(settings));
  QString error;
  if (!server.start(&error))
    return fail(error);

  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, &app, [&] {
    if (stopRequested) {
      server.stop();
      std::puts("stopped");
      std::fflush(stdout);
      app.quit();
    }
  });
  watch.start(50);
  return app.exec();
}
