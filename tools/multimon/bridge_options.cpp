// SPDX-License-Identifier: GPL-3.0-or-later
#include "bridge_options.h"

#include "mqtt_publisher.h"
#include "receiver_state.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

namespace meldlux::multimon {

namespace {

const char kDescription[] =
    "Liest die Ausgabezeilen von multimon-ng (Standardeingabe oder die mit --run gestartete\n"
    "Befehlskette) und gibt jedes dekodierte ZVEI-, POCSAG- und FMS-Telegramm über TCP an jeden\n"
    "verbundenen Meldlux-Client weiter, wie es ein Auswerteserver tut.\n"
    "\n"
    "Mit einem SDR-Stick (Debian-Pakete rtl-sdr und multimon-ng):\n"
    "  meldlux-multimon --audio \"rtl_fm -f 173.255M -M fm -s 22050 -g 40 -\"\n"
    "dann Meldlux auf Server 127.0.0.1, Port 7778 einstellen. Nicht rtl_fm ... | multimon-ng:\n"
    "multimon-ng bis 1.3.0 (Debian 12) verliert so POCSAG-512-Meldungen und erfindet andere,\n"
    "weil es dekodiert, was jeder read() liefert; --audio gibt die Töne in ganzen Blöcken weiter.\n"
    "Auch mit --run nicht: es ist für andere Befehlsketten. Ohne Empfänger erzeugte Töne,\n"
    "immer wieder abgespielt, damit auch ein später gestartetes Meldlux sie sieht:\n"
    "  meldlux-multimon --run \"meldlux-signal-gen --scenario /usr/share/meldlux/signal.scenario "
    "\\\n"
    "    | multimon-ng -q -t raw -a POCSAG512 -a POCSAG1200 -a POCSAG2400 -a ZVEI1 -a FMSFSK -\"\n"
    "FMS-Telegramme mit falscher Prüfsumme werden verworfen, unlesbare Zeilen gezählt und\n"
    "übergangen.\n"
    "\n"
    "Mit --mqtt legt es außerdem jedes Telegramm auf einem MQTT-Broker ab (Topics\n"
    "meldlux/ORT/telegram, meldlux/ORT/fms/KENNUNG gehalten, meldlux/ORT/bridge sein Zustand als\n"
    "JSON, mit --audio auch der des Empfängers, gehalten); mit --from-mqtt nimmt es die\n"
    "Telegramme eines Orts vom Broker statt von multimon-ng und gibt sie an die Clients vor Ort\n"
    "weiter. Das Passwort des Brokers kommt aus --mqtt-password-file\n"
    "oder der Umgebungsvariable MELDLUX_MQTT_PASSWORD, nie von der Befehlszeile.";

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

// The first line of the file, or the environment's.
bool brokerPassword(const QString& file, const QString& environment, QString* password) {
  if (file.isEmpty()) {
    *password = environment;
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

BridgeCommandLine fail(const char* text) {
  return {BridgeCommandLine::Action::Fail, QString::fromUtf8(text), {}};
}

} // namespace

BridgeCommandLine BridgeCommandLine::parse(const QStringList& arguments,
                                           const QString& environmentPassword) {
  QCommandLineParser cli;
  cli.setApplicationDescription(QString::fromUtf8(kDescription));
  const QCommandLineOption help = cli.addHelpOption();
  const QCommandLineOption version = cli.addVersionOption();
  const auto text = [](const char* german) { return QString::fromUtf8(german); };
  const QCommandLineOption listen(QStringLiteral("listen"),
                                  text("Adresse und Port, an denen es dient (Vorgabe "
                                       "127.0.0.1:7778)."),
                                  QStringLiteral("ADR:PORT"), QStringLiteral("127.0.0.1:7778"));
  const QCommandLineOption password(
      QStringLiteral("password"),
      text("Clients müssen sich mit PASS:TEXT anmelden; mit falschem oder ohne Passwort wird die "
           "Verbindung geschlossen."),
      QStringLiteral("TEXT"));
  const QCommandLineOption heartbeat(QStringLiteral("heartbeat"),
                                     text("Sekunden zwischen zwei Lebenszeichen, 0 für keine "
                                          "(Vorgabe 10)."),
                                     QStringLiteral("SEKUNDEN"), QStringLiteral("10"));
  const QCommandLineOption run(QStringLiteral("run"),
                               text("Startet diese Befehlskette der Shell und liest ihre Ausgabe; "
                                    "endet sie, wird sie nach einer wachsenden Pause neu "
                                    "gestartet. Nicht für die Töne eines Empfängers in "
                                    "multimon-ng bis 1.3.0: es verliert so Meldungen und "
                                    "erfindet andere; dafür --audio."),
                               QStringLiteral("BEFEHLE"));
  const QCommandLineOption audio(
      QStringLiteral("audio"),
      text("Startet diesen Befehl (rtl_fm, arecord …), der rohe Töne (22050 Hz, 16 Bit mit "
           "Vorzeichen, mono) auf die Standardausgabe schreibt, und multimon-ng selbst, und gibt "
           "die Töne so weiter, dass multimon-ng sie genau so dekodiert wie am Stück; endet einer, "
           "wird er nach einer wachsenden Pause neu gestartet."),
      QStringLiteral("BEFEHL"));
  const QCommandLineOption decoderArgs(
      QStringLiteral("decoder-args"),
      text("Mit --audio: die Demodulatoren für multimon-ng (Vorgabe \"%1\").")
          .arg(AudioChain::defaultDecoderArguments().join(u' ')),
      QStringLiteral("ARGUMENTE"), AudioChain::defaultDecoderArguments().join(u' '));
  const QCommandLineOption audioTimeout(
      QStringLiteral("audio-timeout"),
      text("Mit --audio: Sekunden ohne Töne von der Quelle, oder ohne dass multimon-ng liest, "
           "nach denen der Teil neu gestartet wird (Vorgabe 10)."),
      QStringLiteral("SEKUNDEN"), QStringLiteral("10"));
  const QCommandLineOption noGerman(QStringLiteral("no-german"),
                                    text("Lässt [ \\ ] { | } ~ in Pager-Texten, wie sie sind, "
                                         "statt sie als Umlaute zu lesen."));
  const QCommandLineOption queue(QStringLiteral("queue"),
                                 text("Kilobyte, die ein Client zurückliegen darf, bevor er "
                                      "getrennt wird (Vorgabe 256)."),
                                 QStringLiteral("KB"), QStringLiteral("256"));
  const QCommandLineOption verbose(QStringLiteral("verbose"),
                                   text("Gibt jede gelesene Zeile aus und was aus ihr wurde."));
  const QCommandLineOption mqtt(QStringLiteral("mqtt"),
                                text("Legt außerdem jedes Telegramm auf diesem Broker ab, "
                                     "mqtt://HOST[:PORT] oder mqtts://HOST[:PORT] (TLS)."),
                                QStringLiteral("URL"));
  const QCommandLineOption fromMqtt(QStringLiteral("from-mqtt"),
                                    text("Nimmt die Telegramme von --site von diesem Broker "
                                         "statt von multimon-ng."),
                                    QStringLiteral("URL"));
  const QCommandLineOption site(QStringLiteral("site"),
                                text("Der Name des Orts in den Topics (Vorgabe der Rechnername)."),
                                QStringLiteral("NAME"), QSysInfo::machineHostName());
  const QCommandLineOption mqttUser(QStringLiteral("mqtt-user"), text("Benutzername beim Broker."),
                                    QStringLiteral("NAME"));
  const QCommandLineOption mqttPasswordFile(
      QStringLiteral("mqtt-password-file"),
      text("Liest das Passwort des Brokers aus der ersten Zeile dieser Datei (sonst aus "
           "MELDLUX_MQTT_PASSWORD)."),
      QStringLiteral("DATEI"));
  const QCommandLineOption mqttCa(QStringLiteral("mqtt-ca"),
                                  text("CA-Zertifikat, das das des Brokers unterschrieben hat, "
                                       "für mqtts (Vorgabe die des Systems)."),
                                  QStringLiteral("DATEI"));
  const QCommandLineOption mqttQueue(QStringLiteral("mqtt-queue"),
                                     text("Telegramme, die aufbewahrt werden, solange der Broker "
                                          "fort ist; ist sie voll, gehen die ältesten (Vorgabe "
                                          "1000)."),
                                     QStringLiteral("ANZAHL"), QStringLiteral("1000"));
  const QCommandLineOption mqttClientId(
      QStringLiteral("mqtt-client-id"),
      text("Mit --from-mqtt: der Name, unter dem der Broker die Sitzung hält (Vorgabe "
           "meldlux-multimon-RECHNER-ORT); zwei empfangende Brücken brauchen zwei Namen."),
      QStringLiteral("ID"));
  cli.addOptions({listen, password, heartbeat, audio, decoderArgs, audioTimeout, run, noGerman,
                  queue, verbose, mqtt, fromMqtt, site, mqttUser, mqttPasswordFile, mqttCa,
                  mqttQueue, mqttClientId});
  if (!cli.parse(arguments))
    return {Action::Fail, cli.errorText(), {}};
  if (cli.isSet(help) || cli.isSet(QStringLiteral("help-all"))) {
    // Qt names the program by the path it was started with; the manual page is made from this.
    QString text = cli.helpText();
    const qsizetype from = text.indexOf(u' ') + 1; // after "Usage:" in whatever language
    const qsizetype to = text.indexOf(QStringLiteral(" ["));
    if (from > 0 && to > from && to < text.indexOf(u'\n'))
      text.replace(from, to - from, QStringLiteral("meldlux-multimon"));
    return {Action::Print, text, {}};
  }
  if (cli.isSet(version))
    return {Action::Print,
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() +
                u'\n',
            {}};

  BridgeCommandLine result;
  BridgeOptions& o = result.options;
  o.listen = cli.value(listen);
  if (!splitListen(o.listen, &o.server.address, &o.server.port))
    return fail("--listen wants ADDR:PORT");
  bool ok = false;
  bool secondsOk = false;
  const double seconds = cli.value(heartbeat).toDouble(&secondsOk);
  const int kilobytes = cli.value(queue).toInt(&ok) * (ok ? 1 : 0);
  if (!secondsOk || !(seconds >= 0 && seconds <= 86400) || kilobytes <= 0)
    return fail("--heartbeat wants seconds, --queue kilobytes");
  o.server.heartbeatMs = int(seconds * 1000);
  o.server.queueBytes = qint64(kilobytes) * 1024;
  o.server.password = cli.value(password);
  o.server.verbose = o.verbose = cli.isSet(verbose);
  o.pipeline = cli.value(run);
  o.germanCharset = !cli.isSet(noGerman);
  o.audio = cli.value(audio);
  o.decoderArguments = QProcess::splitCommand(cli.value(decoderArgs));
  if (cli.isSet(audio) && (o.audio.trimmed().isEmpty() || cli.isSet(run) || cli.isSet(fromMqtt)))
    return fail("--audio wants a command and goes with neither --run nor --from-mqtt");
  const double timeout = cli.value(audioTimeout).toDouble(&ok);
  if (!ok || !(timeout >= 0.5 && timeout <= 3600))
    return fail("--audio-timeout wants seconds (0.5 to 3600)");
  o.audioTimeoutMs = int(timeout * 1000);

  const bool publishing = cli.isSet(mqtt);
  const bool subscribing = cli.isSet(fromMqtt);
  if (!publishing && !subscribing)
    return result;
  o.mqtt = publishing ? BridgeOptions::Mqtt::Publish : BridgeOptions::Mqtt::Subscribe;
  o.site = cli.value(site);
  o.mqttQueue = cli.value(mqttQueue).toLongLong(&ok);
  const auto url = MqttUrl::parse(cli.value(publishing ? mqtt : fromMqtt));
  if (publishing && subscribing)
    return fail("--mqtt and --from-mqtt do not go together");
  if (!url)
    return fail("the broker URL must be mqtt://HOST[:PORT] or mqtts://HOST[:PORT]");
  if (!validSite(o.site) || !ok || o.mqttQueue <= 0)
    return fail("--site wants a name without / + #, --mqtt-queue a count");
  if (!brokerPassword(cli.value(mqttPasswordFile), environmentPassword, &o.link.password))
    return {Action::Fail, QStringLiteral("cannot read %1").arg(cli.value(mqttPasswordFile)), {}};
  o.link.url = *url;
  o.link.user = cli.value(mqttUser);
  o.link.caFile = cli.value(mqttCa);
  // The receiving end keeps its session under a name that stays, so the broker holds its
  // telegrams while it is away; the publisher needs none, and the library gives it a random
  // name that no second bridge takes from it.
  o.link.cleanSession = publishing;
  if (subscribing)
    o.link.clientId =
        cli.isSet(mqttClientId)
            ? cli.value(mqttClientId)
            : QStringLiteral("meldlux-multimon-%1-%2").arg(QSysInfo::machineHostName(), o.site);
  if (publishing) {
    o.link.willTopic = MqttPublisher::bridgeTopic(o.site);
    o.link.willPayload = ReceiverState::offlineJson();
  }
  return result;
}

} // namespace meldlux::multimon
