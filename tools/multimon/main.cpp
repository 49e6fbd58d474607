// meldlux-multimon: reads multimon-ng's output and serves each telegram as a tab-format line to
// every connected Meldlux client.
#include "line_server.h"
#include "line_source.h"
#include "multimon_line_parser.h"

#include "app/quit_on_signal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

using namespace meldlux::multimon;

namespace {

const char kDescription[] =
    "Reads the output lines of multimon-ng (standard input, or the pipeline given with --run)\n"
    "and serves each decoded ZVEI, POCSAG and FMS telegram to every connected Meldlux client\n"
    "over TCP, as a decoder server does.\n"
    "\n"
    "With an SDR stick (Debian packages rtl-sdr and multimon-ng):\n"
    "  rtl_fm -f 173.255M -M fm -s 22050 -g 40 - \\\n"
    "    | multimon-ng -q -t raw -a POCSAG512 -a POCSAG1200 -a POCSAG2400 -a ZVEI1 -a FMSFSK - \\\n"
    "    | meldlux-multimon\n"
    "then point Meldlux at server 127.0.0.1, port 7778. Without a receiver, generated audio:\n"
    "  meldlux-signal-gen --scenario /usr/share/meldlux/signal.scenario \\\n"
    "    | multimon-ng -q -t raw -a POCSAG512 -a POCSAG1200 -a POCSAG2400 -a ZVEI1 -a FMSFSK - \\\n"
    "    | meldlux-multimon\n"
    "FMS frames with a failed check are dropped; unreadable lines are counted and skipped.";

bool splitListen(const QString& text, QHostAddress* address, quint16* port) {
  const qsizetype colon = text.lastIndexOf(u':');
  if (colon <= 0)
    return false;
  bool ok = false;
  const uint value = text.mid(colon + 1).toUInt(&ok);
  if (!ok || value > 65535 || !address->setAddress(text.left(colon)))
    return false;
  *port = quint16(value);
  return true;
}

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("meldlux-multimon"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MELDLUX_VERSION));

  QCommandLineParser cli;
  cli.setApplicationDescription(QString::fromUtf8(kDescription));
  cli.addHelpOption();
  cli.addVersionOption();
  const QCommandLineOption listen(QStringLiteral("listen"),
                                  QStringLiteral("Address and port to serve (default "
                                                 "127.0.0.1:7778)."),
                                  QStringLiteral("ADDR:PORT"), QStringLiteral("127.0.0.1:7778"));
  const QCommandLineOption password(
      QStringLiteral("password"),
      QStringLiteral("Clients must log in with PASS:TEXT; a wrong or missing one is closed."),
      QStringLiteral("TEXT"));
  const QCommandLineOption heartbeat(QStringLiteral("heartbeat"),
                                     QStringLiteral("Seconds between heartbeat lines, 0 for none "
                                                    "(default 10)."),
                                     QStringLiteral("SECONDS"), QStringLiteral("10"));
  const QCommandLineOption run(QStringLiteral("run"),
                               QStringLiteral("Starts this shell pipeline and reads its output; "
                                              "started again, after a growing pause, when it "
                                              "ends."),
                               QStringLiteral("PIPELINE"));
  const QCommandLineOption noGerman(QStringLiteral("no-german"),
                                    QStringLiteral("Leaves [ \\ ] { | } ~ in pager texts as they "
                                                   "are instead of reading them as umlauts."));
  const QCommandLineOption queue(QStringLiteral("queue"),
                                 QStringLiteral("Kilobytes a client may fall behind before it is "
                                                "closed (default 256)."),
                                 QStringLiteral("KB"), QStringLiteral("256"));
  const QCommandLineOption verbose(QStringLiteral("verbose"),
                                   QStringLiteral("Prints each input line and what it became."));
  cli.addOptions({listen, password, heartbeat, run, noGerman, queue, verbose});
  cli.process(app);

  LineServer::Options serverOptions;
  bool ok = false;
  if (!splitListen(cli.value(listen), &serverOptions.address, &serverOptions.port)) {
    std::fprintf(stderr, "meldlux-multimon: --listen wants ADDR:PORT\n");
    return 2;
  }
  const double seconds = cli.value(heartbeat).toDouble(&ok);
  const int kilobytes = cli.value(queue).toInt(&ok) * (ok ? 1 : 0);
  if (!(seconds >= 0 && seconds <= 86400) || kilobytes <= 0) {
    std::fprintf(stderr, "meldlux-multimon: --heartbeat wants seconds, --queue kilobytes\n");
    return 2;
  }
  serverOptions.heartbeatMs = int(seconds * 1000);
  serverOptions.queueBytes = qint64(kilobytes) * 1024;
  serverOptions.password = cli.value(password);
  serverOptions.verbose = cli.isSet(verbose);

  MultimonLineParser parser({.germanCharset = !cli.isSet(noGerman)});
  LineServer server(serverOptions);
  LineSource source;
  QString error;
  if (!server.listen(&error)) {
    std::fprintf(stderr, "meldlux-multimon: cannot listen on %s: %s\n",
                 qPrintable(cli.value(listen)), qPrintable(error));
    return 1;
  }
  std::fprintf(stderr, "meldlux-multimon: listening on %s:%u\n",
               qPrintable(serverOptions.address.toString()), server.port());

  const bool talk = cli.isSet(verbose);
  QObject::connect(&parser, &MultimonLineParser::telegramDecoded, &server,
                   [&server](const DecodedTelegram& t) { server.sendLine(t.wireLine()); });
  QObject::connect(&source, &LineSource::lineRead, &parser, [&parser, talk](const QString& line) {
    const auto telegram = parser.parse(line);
    if (talk) {
      QString shown = telegram ? telegram->wireLine() : QStringLiteral("(skipped)");
      shown.replace(u'\t', QStringLiteral("\\t"));
      std::fprintf(stderr, "in:  %s\nout: %s\n", line.toUtf8().constData(),
                   shown.toUtf8().constData());
    }
  });
  QObject::connect(&source, &LineSource::inputEnded, &app, [] {
    std::fprintf(stderr, "meldlux-multimon: the input ended; still serving\n");
  });

  meldlux::QuitOnSignal quitOnSignal([&] {
    source.stop();
    server.stop();
    QCoreApplication::quit();
  });
  if (cli.isSet(run))
    source.runPipeline(cli.value(run));
  else
    source.readStandardInput();
  const int code = app.exec();
  std::fprintf(stderr,
               "meldlux-multimon: %lld telegrams, %lld FMS frames with a failed check, %lld "
               "unreadable lines\n",
               parser.decoded(), parser.rejectedChecks(), parser.unreadable());
  return code;
}
