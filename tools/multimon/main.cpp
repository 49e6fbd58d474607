// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-multimon: reads multimon-ng's output and serves each telegram as a tab-format line to
// every connected Meldlux client.
#include "bridge_options.h"
#include "line_server.h"
#include "line_source.h"
#include "mqtt_link.h"
#include "mqtt_publisher.h"
#include "mqtt_subscriber.h"
#include "multimon_line_parser.h"
#include "receiver_state.h"

#include "app/qt_german_texts.h"
#include "app/quit_on_signal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>
#include <memory>

using namespace meldlux::multimon;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("meldlux-multimon"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MELDLUX_VERSION));
  const auto germanQtTexts = meldlux::installQtGermanTexts();

  const BridgeCommandLine command = BridgeCommandLine::parse(
      QCoreApplication::arguments(), qEnvironmentVariable("MELDLUX_MQTT_PASSWORD"));
  if (command.action == BridgeCommandLine::Action::Print) {
    std::fputs(command.text.toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (command.action == BridgeCommandLine::Action::Fail) {
    std::fprintf(stderr, "meldlux-multimon: %s\n", command.text.toLocal8Bit().constData());
    return 2;
  }
  const BridgeOptions& options = command.options;
  const bool publishing = options.mqtt == BridgeOptions::Mqtt::Publish;
  const bool subscribing = options.mqtt == BridgeOptions::Mqtt::Subscribe;
  std::unique_ptr<MqttLink> link;
  if (publishing || subscribing)
    link = std::make_unique<MqttLink>(options.link);

  MultimonLineParser parser({.germanCharset = options.germanCharset});
  LineServer server(options.server);
  LineSource source;
  QString error;
  if (!server.listen(&error)) {
    std::fprintf(stderr, "meldlux-multimon: cannot listen on %s: %s\n", qPrintable(options.listen),
                 qPrintable(error));
    return 1;
  }
  std::fprintf(stderr, "meldlux-multimon: listening on %s:%u\n",
               qPrintable(options.server.address.toString()), server.port());

  const bool talk = options.verbose;
  const double interval = options.server.heartbeatMs / 1000.0;
  QObject::connect(&parser, &MultimonLineParser::telegramDecoded, &server,
                   [&server](const DecodedTelegram& t) { server.sendLine(t.wireLine()); });
  std::unique_ptr<MqttPublisher> publisher;
  std::unique_ptr<MqttSubscriber> subscriber;
  if (publishing) {
    publisher = std::make_unique<MqttPublisher>(*link, options.site, options.mqttQueue);
    QObject::connect(&parser, &MultimonLineParser::telegramDecoded, publisher.get(),
                     &MqttPublisher::publish);
  } else if (subscribing) {
    subscriber = std::make_unique<MqttSubscriber>(*link, options.site);
    QObject::connect(subscriber.get(), &MqttSubscriber::lineReceived, &server,
                     &LineServer::sendLine);
    // The receiving bridge's word on its receiver goes on in this one's heartbeat.
    QObject::connect(subscriber.get(), &MqttSubscriber::bridgeStatus, &server,
                     [&server, interval](const QByteArray& json) {
                       const auto remote =
                           ReceiverState::fromStatusJson(json, QDateTime::currentDateTime());
                       server.setHeartbeatLine(remote ? remote->heartbeatLine(interval)
                                                      : QByteArrayLiteral("#!XX!#"));
                     });
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

  std::unique_ptr<AudioChain> chain;
  ReceiverState receiver;
  meldlux::QuitOnSignal quitOnSignal([&] {
    if (chain)
      chain->stop();
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
  } else if (!options.audio.isEmpty()) {
    chain = std::make_unique<AudioChain>(
        AudioChain::Options{.audioCommand = options.audio,
                            .decoderArguments = options.decoderArguments,
                            .timeoutMs = options.audioTimeoutMs});
    QObject::connect(chain.get(), &AudioChain::decoded, &source, &LineSource::take);
    QObject::connect(chain.get(), &AudioChain::decoderEnded, &source, &LineSource::finishLine);
    // The heartbeat, and the status on the broker, tell whether the receiver works.
    const auto tell = [&] {
      server.setHeartbeatLine(receiver.heartbeatLine(interval));
      if (publisher)
        publisher->setStatus(receiver.statusJson(true, true));
    };
    tell();
    QObject::connect(chain.get(), &AudioChain::faulted, &server, [&, tell] {
      receiver.fault(QDateTime::currentDateTime());
      tell();
    });
    QObject::connect(chain.get(), &AudioChain::flowing, &server, [&, tell] {
      if (receiver.ok())
        return;
      receiver.flowing();
      tell();
      std::fprintf(stderr, "meldlux-multimon: the receiver's audio reaches multimon-ng again\n");
    });
    QObject::connect(&parser, &MultimonLineParser::telegramDecoded, &server, [&, tell] {
      receiver.telegram(QDateTime::currentDateTime());
      tell();
    });
    chain->start();
  } else if (!options.pipeline.isEmpty()) {
    source.runPipeline(options.pipeline);
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
    std::fprintf(stderr,
                 "meldlux-multimon: %lld telegrams acknowledged, %lld dropped from the "
                 "full queue\n",
                 publisher->acknowledgedTelegrams(), publisher->dropped());
  std::fprintf(stderr,
               "meldlux-multimon: %lld telegrams, %lld FMS frames with a failed check, %lld "
               "unreadable lines\n",
               parser.decoded(), parser.rejectedChecks(), parser.unreadable());
  return code;
}
