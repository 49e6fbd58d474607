// SPDX-License-Identifier: GPL-3.0-or-later
#include "broker_link.h"
#include "mqtt_publisher.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

// The publisher's rules against a stand-in for the broker: no network, no waiting.
using namespace meldlux::multimon;

namespace {

struct Sent {
  QByteArray topic;
  QByteArray payload;
  bool retain;
  int mid;
};

class StandInLink : public BrokerLink {
public:
  bool up = false;
  std::vector<Sent> sent;
  int nextMid = 1;

  bool isUp() const override { return up; }
  int publish(const QByteArray& topic, const QByteArray& payload, bool retain) override {
    sent.push_back({topic, payload, retain, nextMid});
    return nextMid++;
  }
  bool subscribe(const QByteArray&) override { return true; }

  void comeUp() {
    up = true;
    Q_EMIT connected();
  }
  void goDown() {
    up = false;
    Q_EMIT lost();
  }
  std::vector<Sent> telegrams() const {
    std::vector<Sent> out;
    for (const Sent& s : sent)
      if (s.topic == "meldlux/wache/telegram")
        out.push_back(s);
    return out;
  }
  QString code(const Sent& s) const {
    return QJsonDocument::fromJson(s.payload)["fields"]["code"].toString();
  }
};

DecodedTelegram zvei(int n) {
  DecodedTelegram t;
  t.fields = {{QStringLiteral("code"), QString::number(10000 + n)}};
  t.wireFields = {QStringLiteral("ZVEI"), QString::number(10000 + n)};
  return t;
}

DecodedTelegram fms(int status, int direction) {
  DecodedTelegram t;
  t.kind = DecodedTelegram::Kind::Fms;
  t.fields = {{QStringLiteral("identifier"), QStringLiteral("64101951")},
              {QStringLiteral("status"), status},
              {QStringLiteral("direction"), direction}};
  t.wireFields = {QStringLiteral("FMS"), QStringLiteral("64101951"), QString::number(status)};
  return t;
}

} // namespace

TEST(MqttPublisher, AwayTheQueueKeepsTheNewestAndSendsThemInOrderAfterOnline) {
  StandInLink link;
  MqttPublisher publisher(link, QStringLiteral("wache"), 5);
  for (int n = 1; n <= 8; ++n)
    publisher.publish(zvei(n));
  EXPECT_TRUE(link.sent.empty()) << "nothing is handed over while the broker is away";
  EXPECT_EQ(publisher.dropped(), 3);

  link.comeUp();
  ASSERT_FALSE(link.sent.empty());
  EXPECT_EQ(link.sent[0].topic, "meldlux/wache/bridge");
  EXPECT_EQ(link.sent[0].payload, R"({"online":true})");
  EXPECT_TRUE(link.sent[0].retain);
  QStringList codes;
  for (const Sent& s : link.telegrams())
    codes << link.code(s);
  EXPECT_EQ(codes.join(u' '), QStringLiteral("10004 10005 10006 10007 10008"));

  // Lost again: what was handed over is the library's; new ones wait for the next "online".
  link.goDown();
  publisher.publish(zvei(9));
  EXPECT_EQ(link.telegrams().size(), 5u);
  link.comeUp();
  ASSERT_EQ(link.telegrams().size(), 6u);
  EXPECT_EQ(link.code(link.telegrams().back()), QStringLiteral("10009"));
}

TEST(MqttPublisher, AtMostTheWindowIsUnacknowledgedAndEachAckLetsOneMoreGo) {
  StandInLink link;
  link.comeUp();
  MqttPublisher publisher(link, QStringLiteral("wache"), 1000);
  for (int n = 1; n <= MqttPublisher::kInFlight + 5; ++n)
    publisher.publish(zvei(n));
  ASSERT_EQ(link.telegrams().size(), size_t(MqttPublisher::kInFlight));

  Q_EMIT link.acknowledged(999); // not one of ours: frees nothing
  EXPECT_EQ(link.telegrams().size(), size_t(MqttPublisher::kInFlight));
  EXPECT_EQ(publisher.acknowledgedTelegrams(), 0);
  const int first = link.telegrams().front().mid;
  Q_EMIT link.acknowledged(first);
  Q_EMIT link.acknowledged(first); // twice from the library counts once
  EXPECT_EQ(link.telegrams().size(), size_t(MqttPublisher::kInFlight) + 1);
  EXPECT_EQ(publisher.acknowledgedTelegrams(), 1);
  EXPECT_EQ(link.code(link.telegrams().back()), QStringLiteral("10021"));
  EXPECT_EQ(publisher.dropped(), 0);
}

TEST(MqttPublisher, AVehiclesOwnStatusIsRetainedOutsideTheWindowAndOfflineOnlyWhenUp) {
  StandInLink link;
  MqttPublisher publisher(link, QStringLiteral("wache"), 1000);
  publisher.sayOffline();
  EXPECT_TRUE(link.sent.empty()) << "with the broker away, the last will says it";
  link.comeUp();
  link.sent.clear();
  // Fill the window with status telegrams: their retained copies must not take slots.
  for (int n = 0; n < MqttPublisher::kInFlight; ++n)
    publisher.publish(fms(3, 0));
  publisher.publish(fms(2, 1)); // the control centre to the vehicle: not its status
  std::vector<Sent> retained;
  for (const Sent& s : link.sent)
    if (s.retain)
      retained.push_back(s);
  EXPECT_EQ(retained.size(), size_t(MqttPublisher::kInFlight));
  EXPECT_EQ(link.telegrams().size(), size_t(MqttPublisher::kInFlight));
  for (const Sent& s : retained)
    EXPECT_EQ(s.topic, "meldlux/wache/fms/64101951");
  // The retained copy is the telegram's own JSON.
  EXPECT_EQ(link.sent[0].payload, link.sent[1].payload);

  Q_EMIT link.acknowledged(retained.front().mid); // a retained one frees no slot
  EXPECT_EQ(link.telegrams().size(), size_t(MqttPublisher::kInFlight));
  Q_EMIT link.acknowledged(link.telegrams().front().mid);
  ASSERT_EQ(link.telegrams().size(), size_t(MqttPublisher::kInFlight) + 1);
  EXPECT_FALSE(link.sent.back().retain) << "direction 1 has no retained copy";

  publisher.sayOffline();
  EXPECT_EQ(link.sent.back().topic, "meldlux/wache/bridge");
  EXPECT_EQ(link.sent.back().payload, R"({"online":false})");
  EXPECT_TRUE(link.sent.back().retain);
}
