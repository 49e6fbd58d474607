// SPDX-License-Identifier: GPL-3.0-or-later
#include "bridge_options.h"

#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux::multimon;

namespace {

BridgeCommandLine parse(QStringList arguments, const QString& environment = {}) {
  arguments.prepend(QStringLiteral("meldlux-multimon"));
  return BridgeCommandLine::parse(arguments, environment);
}

} // namespace

TEST(BridgeOptions, ServingOptionsAndTheirDefaults) {
  const BridgeCommandLine plain = parse({});
  ASSERT_EQ(plain.action, BridgeCommandLine::Action::Run) << plain.text.toStdString();
  EXPECT_EQ(plain.options.server.address, QHostAddress(QHostAddress::LocalHost));
  EXPECT_EQ(plain.options.server.port, 7778);
  EXPECT_EQ(plain.options.server.heartbeatMs, 10'000);
  EXPECT_EQ(plain.options.server.queueBytes, 256 * 1024);
  EXPECT_TRUE(plain.options.germanCharset);
  EXPECT_TRUE(plain.options.pipeline.isEmpty());
  EXPECT_EQ(plain.options.mqtt, BridgeOptions::Mqtt::None);

  const BridgeCommandLine set =
      parse({"--listen", "0.0.0.0:17001", "--heartbeat", "2.5", "--queue", "16", "--password",
             "geheim", "--no-german", "--verbose", "--run", "cat x | multimon-ng -"});
  ASSERT_EQ(set.action, BridgeCommandLine::Action::Run) << set.text.toStdString();
  EXPECT_EQ(set.options.server.address, QHostAddress(QHostAddress::AnyIPv4));
  EXPECT_EQ(set.options.server.port, 17001);
  EXPECT_EQ(set.options.server.heartbeatMs, 2500);
  EXPECT_EQ(set.options.server.queueBytes, 16 * 1024);
  EXPECT_EQ(set.options.server.password, QStringLiteral("geheim"));
  EXPECT_TRUE(set.options.server.verbose && set.options.verbose);
  EXPECT_FALSE(set.options.germanCharset);
  EXPECT_EQ(set.options.pipeline, QStringLiteral("cat x | multimon-ng -"));

  const BridgeCommandLine audio =
      parse({"--audio", "rtl_fm -f 173.255M -", "--decoder-args", "-a POCSAG512  -a ZVEI1"});
  ASSERT_EQ(audio.action, BridgeCommandLine::Action::Run) << audio.text.toStdString();
  EXPECT_EQ(audio.options.audio, QStringLiteral("rtl_fm -f 173.255M -"));
  EXPECT_EQ(audio.options.decoderArguments,
            QStringList({"-a", "POCSAG512", "-a", "ZVEI1"}));
  EXPECT_EQ(plain.options.decoderArguments, AudioChain::defaultDecoderArguments());
  EXPECT_EQ(plain.options.audioTimeoutMs, 10'000);
  EXPECT_EQ(parse({"--audio", "a", "--audio-timeout", "1.5"}).options.audioTimeoutMs, 1500);
}

TEST(BridgeOptions, PublisherAndReceiverGetTheirBrokerSessions) {
  const BridgeCommandLine out =
      parse({"--mqtt", "mqtts://broker:8884", "--site", "nord", "--mqtt-user", "wache",
             "--mqtt-ca", "/etc/ca.pem", "--mqtt-queue", "5"},
            QStringLiteral("aus-der-umgebung"));
  ASSERT_EQ(out.action, BridgeCommandLine::Action::Run) << out.text.toStdString();
  EXPECT_EQ(out.options.mqtt, BridgeOptions::Mqtt::Publish);
  EXPECT_EQ(out.options.link.url.host, QStringLiteral("broker"));
  EXPECT_EQ(out.options.link.url.port, 8884);
  EXPECT_TRUE(out.options.link.url.tls);
  EXPECT_EQ(out.options.link.user, QStringLiteral("wache"));
  EXPECT_EQ(out.options.link.password, QStringLiteral("aus-der-umgebung"));
  EXPECT_EQ(out.options.link.caFile, QStringLiteral("/etc/ca.pem"));
  EXPECT_EQ(out.options.mqttQueue, 5);
  EXPECT_TRUE(out.options.link.cleanSession);
  EXPECT_TRUE(out.options.link.clientId.isEmpty());
  EXPECT_EQ(out.options.link.willTopic, QByteArrayLiteral("meldlux/nord/bridge"));
  EXPECT_EQ(out.options.link.willPayload, QByteArrayLiteral("{\"online\":false}"));

  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("pw"));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("aus-der-datei\r\nzweite Zeile\n");
  f.close();
  const BridgeCommandLine in = parse({"--from-mqtt", "mqtt://broker", "--site", "nord",
                                      "--mqtt-password-file", file},
                                     QStringLiteral("aus-der-umgebung"));
  ASSERT_EQ(in.action, BridgeCommandLine::Action::Run) << in.text.toStdString();
  EXPECT_EQ(in.options.mqtt, BridgeOptions::Mqtt::Subscribe);
  EXPECT_EQ(in.options.link.password, QStringLiteral("aus-der-datei"));
  EXPECT_FALSE(in.options.link.cleanSession);
  EXPECT_TRUE(in.options.link.willTopic.isEmpty());
  EXPECT_EQ(in.options.link.clientId,
            QStringLiteral("meldlux-multimon-%1-nord").arg(QSysInfo::machineHostName()));
  EXPECT_EQ(parse({"--from-mqtt", "mqtt://b", "--site", "s", "--mqtt-client-id", "zwei"})
                .options.link.clientId,
            QStringLiteral("zwei"));
}

TEST(BridgeOptions, WrongValuesAreRefusedWithTheirReason) {
  const struct {
    QStringList arguments;
    const char* reason;
  } cases[] = {
      {{"--listen", "7778"}, "--listen"},
      {{"--listen", "localhost:99999"}, "--listen"},
      {{"--heartbeat", "-1"}, "--heartbeat"},
      {{"--heartbeat", "zehn"}, "--heartbeat"},
      {{"--queue", "0"}, "--queue"},
      {{"--mqtt", "mqtt://a", "--from-mqtt", "mqtt://b"}, "do not go together"},
      {{"--mqtt", "http://a"}, "mqtt://HOST"},
      {{"--mqtt", "mqtt://a", "--site", "a/b"}, "--site"},
      {{"--mqtt", "mqtt://a", "--site", "a", "--mqtt-queue", "0"}, "--mqtt-queue"},
      {{"--mqtt", "mqtt://a", "--site", "a", "--mqtt-password-file", "/nonexistent/pw"},
       "cannot read /nonexistent/pw"},
      {{"--audio", "rtl_fm -", "--run", "cat"}, "--audio"},
      {{"--audio", " "}, "--audio"},
      {{"--audio", "rtl_fm -", "--audio-timeout", "0"}, "--audio-timeout"},
      {{"--unknown"}, "unknown"},
  };
  for (const auto& c : cases) {
    const BridgeCommandLine result = parse(c.arguments);
    EXPECT_EQ(result.action, BridgeCommandLine::Action::Fail) << c.arguments.join(u' ').toStdString();
    EXPECT_TRUE(result.text.contains(QLatin1String(c.reason), Qt::CaseInsensitive))
        << result.text.toStdString();
  }
}

TEST(BridgeOptions, HelpIsGermanWithTheOptionNamesAsTheyAre) {
  const BridgeCommandLine help = parse({"--help"});
  ASSERT_EQ(help.action, BridgeCommandLine::Action::Print);
  for (const char* name : {"--listen", "--run", "--mqtt-password-file", "--from-mqtt"})
    EXPECT_TRUE(help.text.contains(QLatin1String(name))) << name;
  EXPECT_TRUE(help.text.contains(QString::fromUtf8("Empfänger"))) << help.text.toStdString();
  EXPECT_FALSE(help.text.contains(QStringLiteral("Reads the output"))) << help.text.toStdString();
  // Named as installed, not by the path it was started with: the manual page is made from this.
  EXPECT_TRUE(help.text.section(u'\n', 0, 0).endsWith(QStringLiteral(" meldlux-multimon [options]")))
      << help.text.toStdString();
  EXPECT_EQ(parse({"--version"}).action, BridgeCommandLine::Action::Print);
}
