// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-decoder-sim: a stand-in for the decoder server that Meldlux connects to.

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
    R"(A stand-in for the decoder server: Meldlux (or any client) connects to it over TCP.

It listens on 127.0.0.1:7778 unless told otherwise, accepts several clients at
once and prints every byte a client sends, escaped (\r \n \t \\ \xHH), one line
per receive. A client that sends the line "Exit" is disconnected. With
--password, a client gets traffic only after sending "PASS:<password>" CR LF; a
wrong password closes it.

Traffic, all of it Windows-1252 with CR LF line ends:
  heartbeats   "#!XX!#" every --heartbeat seconds to every logged-in client.
  scenario     --scenario FILE is played to each client after its login. Each
               line is sent as it stands plus CR LF (UTF-8 or Windows-1252 file).
                 @sleep SECONDS   pause (fractions allowed)
                 @raw TEXT        send TEXT with \r \n \t \\ \xHH escapes and
                                  no line end (splits a line across blocks)
                 # comment        a line starting with "#" but not "#!"
               Empty lines are skipped. --loop plays it again and again.
  generated    --rate N telegrams per second to all logged-in clients, from the
               first login on, for --duration seconds (0 = until stopped):
               FMS vehicle and control-centre telegrams, ZVEI and POCSAG alarms
               in --format tab, marker or mixed; marker lines carry the current
               date and time.

SIGINT or SIGTERM closes every client and ends the program.)";

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("meldlux-decoder-sim"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
  parser.addHelpOption();
  const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port (default 7778)."),
                                QStringLiteral("PORT"), QStringLiteral("7778"));
  const QCommandLineOption listen(QStringLiteral("listen"),
                                  QStringLiteral("Address to listen on (default 127.0.0.1)."),
                                  QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
  const QCommandLineOption password(QStringLiteral("password"),
                                    QStringLiteral("Require this login password."),
                                    QStringLiteral("PASSWORD"));
  const QCommandLineOption heartbeat(QStringLiteral("heartbeat"),
                                     QStringLiteral("Seconds between heartbeats (0 = none)."),
                                     QStringLiteral("SECONDS"), QStringLiteral("0"));
  const QCommandLineOption scenario(QStringLiteral("scenario"),
                                    QStringLiteral("Play this scenario file to each client."),
                                    QStringLiteral("FILE"));
  const QCommandLineOption loop(QStringLiteral("loop"),
                                QStringLiteral("Play the scenario again and again."));
  const QCommandLineOption rate(QStringLiteral("rate"),
                                QStringLiteral("Generated telegrams per second (0 = none)."),
                                QStringLiteral("N"), QStringLiteral("0"));
  const QCommandLineOption format(QStringLiteral("format"),
                                  QStringLiteral("Line format: tab, marker or mixed (default)."),
                                  QStringLiteral("FORMAT"), QStringLiteral("mixed"));
  const QCommandLineOption duration(
      QStringLiteral("duration"),
      QStringLiteral("Seconds of generated traffic (0 = until stopped)."), QStringLiteral("S"),
      QStringLiteral("0"));
  const QCommandLineOption seed(QStringLiteral("seed"),
                                QStringLiteral("Seed of the generated traffic (default 1)."),
                                QStringLiteral("N"), QStringLiteral("1"));
  parser.addOptions(
      {port, listen, password, heartbeat, scenario, loop, rate, format, duration, seed});
  parser.process(app);

  auto fail = [](const QString& message) {
    std::fprintf(stderr, "meldlux-decoder-sim: %s\n", message.toLocal8Bit().constData());
    return 2;
  };
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
