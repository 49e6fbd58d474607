// SPDX-License-Identifier: GPL-3.0-or-later
#include "bridge_options.h"

#include <QSysInfo>
#include <gtest/gtest.h>

using namespace meldlux::multimon;

namespace {

BridgeCommandLine parse(QStringList arguments, const QString& environment = {}) {
  arguments.prepend(QStringLiteral("meldlux-multimon"));
  return BridgeCommandLine::parse(arguments, environment);
}

} // namespace

TEST(BridgeOptions, ServingAndAudioOptionsAreTakenAsGiven) {
  const BridgeCommandLine set =
      parse({"--listen", "0.0.0.0:17001", "--heartbeat", "2.5", "--queue", "16", "--password",
             "geheim", "--audio", "rtl_fm -f 173.255M -", "--decoder-args",
             "-a POCSAG512  -a ZVEI1", "--audio-timeout", "1.5"});
  ASSERT_EQ(set.action, BridgeCommandLine::Action::Run) << set.text.toStdString();
  const BridgeOptions& o = set.options;
  EXPECT_EQ(o.server.address, QHostAddress(QHostAddress::AnyIPv4));
  EXPECT_EQ(o.server.port, 17001);
  EXPECT_EQ(o.server.heartbeatMs, 2500);
  EXPECT_EQ(o.server.queueBytes, 16 * 1024);
  EXPECT_EQ(o.audio, QStringLiteral("rtl_fm -f 173.255M -"));
  EXPECT_EQ(o.decoderArguments, QStringList({"-a", "POCSAG512", "-a", "ZVEI1"}));
  EXPECT_EQ(o.audioTimeoutMs, 1500);
}

TEST(BridgeOptions, PublisherAndReceiverGetTheirBrokerSessions) {
  const BridgeOptions out =
      parse({"--mqtt", "mqtts://broker:8884", "--site", "nord"}, QStringLiteral("aus-der-umgebung"))
          .options;
  EXPECT_EQ(out.mqtt, BridgeOptions::Mqtt::Publish);
  EXPECT_EQ(out.link.password, QStringLiteral("aus-der-umgebung"));
  EXPECT_TRUE(out.link.cleanSession);
  EXPECT_EQ(out.link.willPayload, QByteArrayLiteral("{\"online\":false}"));

  const BridgeOptions in = parse({"--from-mqtt", "mqtt://broker", "--site", "nord"}).options;
  EXPECT_EQ(in.mqtt, BridgeOptions::Mqtt::Subscribe);
  EXPECT_FALSE(in.link.cleanSession);
  EXPECT_EQ(in.link.clientId,
            QStringLiteral("meldlux-multimon-%1-nord").arg(QSysInfo::machineHostName()));
}

TEST(BridgeOptions, WrongValuesAreRefusedWithTheirReason) {
  const struct {
    QStringList arguments;
    const char* reason;
  } cases[] = {
      {{"--listen", "7778"}, "--listen"},
      {{"--heartbeat", "zehn"}, "--heartbeat"},
      {{"--mqtt", "mqtt://a", "--from-mqtt", "mqtt://b"}, "do not go together"},
      {{"--mqtt", "mqtt://a", "--site", "a/b"}, "--site"},
      {{"--mqtt", "mqtt://a", "--mqtt-password-file", "/nonexistent/pw"}, "/nonexistent/pw"},
      {{"--audio", "rtl_fm -", "--run", "cat"}, "--audio"},
      {{"--audio", "rtl_fm -", "--audio-timeout", "0"}, "--audio-timeout"},
  };
  for (const auto& c : cases) {
    const BridgeCommandLine result = parse(c.arguments);
    EXPECT_EQ(result.action, BridgeCommandLine::Action::Fail)
        << c.arguments.join(u' ').toStdString();
    EXPECT_TRUE(result.text.contains(QLatin1String(c.reason), Qt::CaseInsensitive))
        << result.text.toStdString();
  }
}

TEST(BridgeOptions, HelpIsGermanWithTheOptionNamesAsTheyAre) {
  const BridgeCommandLine help = parse({"--help"});
  ASSERT_EQ(help.action, BridgeCommandLine::Action::Print);
  for (const char* name : {"--listen", "--audio", "--mqtt-password-file"})
    EXPECT_TRUE(help.text.contains(QLatin1String(name))) << name;
  EXPECT_TRUE(help.text.contains(QString::fromUtf8("Empfänger"))) << help.text.toStdString();
  // Named as installed, not by the path it was started with: the manual page is made from this.
  EXPECT_TRUE(
      help.text.section(u'\n', 0, 0).endsWith(QStringLiteral(" meldlux-multimon [options]")))
      << help.text.toStdString();
}
