// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-multimon: reads multimon-ng's output and serves each telegram as a tab-format line to
// every connected Meldlux client.
#include "line_server.h"
#include "line_source.h"
#include "mqtt_link.h"
#include "mqtt_publisher.h"
#include "mqtt_subscriber.h"
#include "multimon_line_parser.h"

#include "app/quit_on_signal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <cstdio>
#include <memory>

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
    "then point Meldlux at server 127.0.0.1, port 7778. Without a receiver, generated audio,\n"
    "played again and again so that a Meldlux started later sees it too:\n"
    "  meldlux-multimon --run \"meldlux-signal-gen --scenario /usr/share/meldlux/signal.scenario \\\n"
    "    | multimon-ng -q -t raw -a POCSAG512 -a POCSAG1200 -a POCSAG2400 -a ZVEI1 -a FMSFSK -\"\n"
    "FMS frames with a failed check are dropped; unreadable lines are counted and skipped.\n"
    "\n"
    "With --mqtt it also puts every telegram on an MQTT broker (topics meldlux/SITE/telegram,\n"
    "meldlux/SITE/fms/IDENTIFIER retained, meldlux/SITE/bridge online/offline); with\n"
    "--from-mqtt it takes the telegrams of a site from the broker instead of multimon-ng and\n"
    "serves them to the local clients. The broker's password comes from --mqtt-password-file\n"
    "or the environment variable MELDLUX_MQTT_PASSWORD, never from the command line.";

const char kPasswordVariable[] = "MELDLUX_MQTT_PASSWORD";

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

// The first line of the file, or the environment variable.
bool brokerPassword(const QString& file, QString* password) {
  if (file.isEmpty()) {
    *password = qEnvironmentVariable(kPasswordVariable);
    return true;
  }
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly))
    return false;
  *password = QString::fromUtf8(in.readLine(4096)).remove(u'\n').remove(u'\r');
  return true;
}

bool validSite(const QString& site) {
  return !site.isEmpty() && site.size() <= 128 && !site.contains(u'/') && !site.contains(u'+') &&
         !site.contains(u'#') && !site.contains(QChar(0));
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
  const QCommandLineOption mqtt(QStringLiteral("mqtt"),
                                QStringLiteral("Also publishes every telegram to this broker, "
                                               "mqtt://HOST[:PORT] or mqtts://HOST[:PORT] (TLS)."),
                                QStringLiteral("URL"));
  const QCommandLineOption fromMqtt(QStringLiteral("from-mqtt"),
                                    QStringLiteral("Takes the telegrams of --site from this broker "
                                                   "instead of multimon-ng."),
                                    QStringLiteral("URL"));
  const QCommandLineOption site(QStringLiteral("site"),
                                QStringLiteral("The site's name in the topics (default the host "
                                               "name)."),
                                QStringLiteral("NAME"), QSysInfo::machineHostName());
  const QCommandLineOption mqttUser(QStringLiteral("mqtt-user"),
                                    QStringLiteral("User name at the broker."),
                                    QStringLiteral("NAME"));
  const QCommandLineOption mqttPasswordFile(
      QStringLiteral("mqtt-password-file"),
      QStringLiteral("Reads the broker password from the first line of this file (otherwise "
                     "from MELDLUX_MQTT_PASSWORD)."),
      QStringLiteral("FILE"));
  const QCommandLineOption mqttCa(QStringLiteral("mqtt-ca"),
                                  QStringLiteral("CA certificate that signed the broker's, for "
                                                 "mqtts (default the system's)."),
                                  QStringLiteral("FILE"));
  const QCommandLineOption mqttQueue(QStringLiteral("mqtt-queue"),
                                     QStringLiteral("Telegrams kept while the broker is away; the "
                                                    "oldest go when full (default 1000)."),
                                     QStringLiteral("COUNT"), QStringLiteral("1000"));
  const QCommandLineOption mqttClientId(
      QStringLiteral("mqtt-client-id"),
      QStringLiteral("With --from-mqtt: the name the broker keeps the session under (default "
                     "meldlux-multimon-HOST-SITE); two receiving bridges need two names."),
      QStringLiteral("ID"));
  cli.addOptions({listen, password, heartbeat, run, noGerman, queue, verbose, mqtt, fromMqtt, site,
                  mqttUser, mqttPasswordFile, mqttCa, mqttQueue, mqttClientId});
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

  const bool publishing = cli.isSet(mqtt);
  const bool subscribing = cli.isSet(fromMqtt);
  std::unique_ptr<MqttLink> link;
  const QString siteName = cli.value(site);
  const qsizetype queueCapacity = cli.value(mqttQueue).toLongLong(&ok);
  if (publishing || subscribing) {
    const auto url = MqttUrl::parse(cli.value(publishing ? mqtt : fromMqtt));
    MqttLink::Options linkOptions;
    if (publishing && subscribing) {
      std::fprintf(stderr, "meldlux-multimon: --mqtt and --from-mqtt do not go together\n");
      return 2;
    }
    if (!url) {
      std::fprintf(stderr, "meldlux-multimon: the broker URL must be mqtt://HOST[:PORT] or "
                           "mqtts://HOST[:PORT]\n");
      return 2;
    }
    if (!validSite(siteName) || !ok || queueCapacity <= 0) {
      std::fprintf(stderr, "meldlux-multimon: --site wants a name without / + #, --mqtt-queue "
                           "a count\n");
      return 2;
    }
    if (!brokerPassword(cli.value(mqttPasswordFile), &linkOptions.password)) {
      std::fprintf(stderr, "meldlux-multimon: cannot read %s\n",
                   qPrintable(cli.value(mqttPasswordFile)));
      return 2;
    }
    linkOptions.url = *url;
    linkOptions.user = cli.value(mqttUser);
    linkOptions.caFile = cli.value(mqttCa);
    // The receiving end keeps its session under a name that stays, so the broker holds its
    // telegrams while it is away; the publisher needs none, and the library gives it a random
    // name that no second bridge takes from it.
    linkOptions.cleanSession = publishing;
    if (subscribing)
      linkOptions.clientId = cli.isSet(mqttClientId)
                                 ? cli.value(mqttClientId)
                                 : QStringLiteral("meldlux-multimon-%1-%2")
                                       .arg(QSysInfo::machineHostName(), siteName);
    if (publishing) {
      linkOptions.willTopic = MqttPublisher::bridgeTopic(siteName);
      linkOptions.willPayload = "offline";
    }
    link = std::make_unique<MqttLink>(linkOptions);
  }

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
  std::unique_ptr<MqttPublisher> publisher;
  std::unique_ptr<MqttSubscriber> subscriber;
  if (publishing) {
    publisher = std::make_unique<MqttPublisher>(*link, siteName, queueCapacity);
    QObject::connect(&parser, &MultimonLineParser::telegramDecoded, publisher.get(),
                     &MqttPublisher::publish);
  } else if (subscribing) {
    subscriber = std::make_unique<MqttSubscriber>(*link, siteName);
    QObject::connect(subscriber.get(), &MqttSubscriber::lineReceived, &server,
                     &LineServer::sendLine);
    // Without the broker this bridge has nothing to serve.
    QObject::connect(link.get(), &MqttLink::refused, &app, [] { QCoreApplication::exit(1); });
  }
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
    if (publisher)
      publisher->sayOffline();
    QCoreApplication::quit();
  });
  if (link && !link->start(&error)) {
    std::fprintf(stderr, "meldlux-multimon: cannot use the broker: %s\n", qPrintable(error));
    return 1;
  }
  if (subscribing) {
    // The broker is the source.
  } else if (cli.isSet(run)) {
    source.runPipeline(cli.value(run));
  } else {
    source.readStandardInput();
  }
  const int code = app.exec();
  if (link)
    link->stop();
  if (subscriber) {
    std::fprintf(stderr,
                 "meldlux-multimon: %lld telegrams served, %lld delivered again and skipped, %lld "
                 "unreadable\n",
                 subscriber->served(), subscriber->repeated(), subscriber->unreadable());
    return code;
  }
  if (publisher)
    std::fprintf(stderr, "meldlux-multimon: %lld telegrams acknowledged, %lld dropped from the "
                         "full queue\n",
                 publisher->acknowledgedTelegrams(), publisher->dropped());
  std::fprintf(stderr,
               "meldlux-multimon: %lld telegrams, %lld FMS frames with a failed check, %lld "
               "unreadable lines\n",
               parser.decoded(), parser.rejectedChecks(), parser.unreadable());
  return code;
}
