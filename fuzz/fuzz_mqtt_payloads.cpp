// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds what a broker may deliver to the station's bridge (any topic, any payload, again and
// again) through the subscriber and the JSON it reads, with a stand-in for the broker.
//
// Input: messages separated by the byte 0x1E; each starts with one action byte: bit 0 puts it
// on another site's topic, bit 1 lets the broker connect anew first (which asks for the topic
// again); the rest is the payload.
//
// Nothing may crash; besides that, what must hold whatever arrives:
// - every message on the site's topic counts exactly once: served, a repeat or unreadable; one
//   on another topic counts nothing;
// - a served line is one line a client can read: not empty, at most the longest line, no CR,
//   LF or NUL;
// - each reconnect asks for the site's own topic and nothing else.
#include "broker_link.h"
#include "decoded_telegram.h"
#include "mqtt_subscriber.h"
#include "property.h"
#include "qt_application.h"

#include <QCoreApplication>
#include <cstdint>

namespace {

using namespace meldlux::multimon;

class StandInBroker : public BrokerLink {
public:
  QList<QByteArray> asked;
  bool isUp() const override { return true; }
  int publish(const QByteArray&, const QByteArray&, bool) override { return 1; }
  bool subscribe(const QByteArray& topic) override {
    asked << topic; // no "subscribed": its one stderr line per run would only fill the log
    return true;
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  needQtApplication("fuzz_mqtt_payloads");

  StandInBroker broker;
  MqttSubscriber subscriber(broker, QStringLiteral("wache"));
  qint64 lines = 0;
  QObject::connect(&subscriber, &MqttSubscriber::lineReceived, [&](const QString& line) {
    ++lines;
    require(!line.isEmpty() && line.size() <= kLongestLine, "a served line empty or too long");
    for (const QChar c : line)
      require(c != u'\r' && c != u'\n' && c != QChar(0), "a served line with CR, LF or NUL");
  });
  Q_EMIT broker.connected();

  qint64 own = 0;
  qsizetype reconnects = 1;
  const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
  for (QByteArray message : input.split('\x1E')) {
    if (message.isEmpty())
      continue;
    const std::uint8_t action = std::uint8_t(message[0]);
    message.remove(0, 1);
    if (action & 2) {
      Q_EMIT broker.connected();
      ++reconnects;
    }
    // The receiving bridge's status comes on a topic of its own and is no telegram.
    const bool status = action & 4;
    const bool mine = !(action & 1) && !status;
    Q_EMIT broker.received(status ? QByteArray("meldlux/wache/bridge")
                           : mine ? QByteArray("meldlux/wache/telegram")
                                  : QByteArray("meldlux/nord/telegram"),
                           message);
    own += mine ? 1 : 0;
    require(subscriber.served() + subscriber.repeated() + subscriber.unreadable() == own,
            "a message on the site's topic not counted exactly once, or another site's counted");
    require(lines == subscriber.served(), "served lines and the count disagree");
  }
  require(broker.asked.count("meldlux/wache/telegram") == reconnects,
          "not asked for the telegrams on each connect");
  for (const QByteArray& topic : broker.asked)
    require(topic == "meldlux/wache/telegram" || topic == "meldlux/wache/bridge",
            "asked for another topic");
  return 0;
}
