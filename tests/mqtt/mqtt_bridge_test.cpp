// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/mosquitto_broker.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Two bridges joined only by a real mosquitto: the one at the receiver publishes what multimon-ng
// decodes, the one at the station serves it to its clients.
using namespace meldlux::e2e;
using namespace meldlux::decoder_test;
using namespace meldlux::mqtt_test;

namespace {

class MqttBridge : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
  QStringList publishTo(const QString& url, const char* site) const {
    return {QStringLiteral("--mqtt"), url, QStringLiteral("--site"), QLatin1String(site)};
  }
  QStringList receiveFrom(const QString& url, const char* site) const {
    return {QStringLiteral("--from-mqtt"), url, QStringLiteral("--site"), QLatin1String(site)};
  }

  QTemporaryDir dir;
  MosquittoBroker broker{dir.path()};
};

// multimon-ng's line for vehicle 64101951, with its status and direction put in.
QString fmsLine(int status, int direction) {
  return QStringLiteral("FMS: 371315910146 (6=Feuerwehr     \t4=Berlin          \tOrt 0x10=016\t"
                        "FZG 1951\tStatus %1=x\t%2=x\t0=I  (ohneNA,ohneSIGNAL)\t) CRC correct")
      .arg(status)
      .arg(direction);
}

QString zvei(int n) { return QStringLiteral("ZVEI1: %1").arg(10000 + n); }
QString zveiWire(int n) { return QStringLiteral("ZVEI\t%1").arg(10000 + n); }

} // namespace

TEST_F(MqttBridge, GeneratedAudioReachesTheStationsMeldluxOnceAndInOrder) {
  const QString data = file("data");
  ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);
  ASSERT_TRUE(broker.start());
  BridgeRun station(file("station.err"));
  ASSERT_TRUE(station.start(receiveFrom(broker.url(), "wache") +
                            QStringList{QStringLiteral("--password"), QStringLiteral("geheim")}));
  ASSERT_TRUE(station.said(QStringLiteral("receiving meldlux/wache/telegram"), 10000))
      << station.errors().toStdString();
  MeldluxRun meldlux(dir.path(), QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\nPW=geheim\n"
                                                "[Einstellungen]\nAutoConnect=1\nMsgLines=8\n")
                                     .arg(station.port));
  ASSERT_TRUE(meldlux.start({}, data));
  LineClient wire; // what the station's bridge served, beside meldlux
  ASSERT_TRUE(wire.connectTo(station.port, "geheim"));
  ASSERT_TRUE(
      waitFor([&] { return meldlux.logged(QStringLiteral("sent\tPASS:geheim\\r\\n")); }, 30000))
      << meldlux.log().toStdString();

  // The audio plays once the receiver's bridge is on the broker.
  const QString go = file("go");
  const QStringList scenario = {
      QStringLiteral("zvei 21001"),
      QStringLiteral("fms 64124411 3 0"),
      QStringLiteral("pocsag 1200 1234567 1 alpha Brand in der Küche, Hauptstraße"),
      QStringLiteral("zvei 22334"),
      QStringLiteral("pocsag 512 1234568 3 alpha Übung Süd"),
  };
  BridgeRun receiver(file("receiver.err"));
  ASSERT_TRUE(receiver.start(
      publishTo(broker.url(), "wache") +
      QStringList{
          QStringLiteral("--run"),
          QStringLiteral("while [ ! -e %1 ]; do sleep 0.1; done; rm -f %1; ").arg(shellQuote(go)) +
              pipeline(scenario)}));
  ASSERT_TRUE(receiver.said(QStringLiteral("connected to the broker"), 10000))
      << receiver.errors().toStdString();
  QFile(go).open(QIODevice::WriteOnly);

  const QStringList expected = {
      QStringLiteral("\t21001 Feuerwehr Musterstadt Vollalarm"),
      QString::fromUtf8("Flo MS 1/44-1      3 Einsatz übernommen"),
      QString::fromUtf8("1234567 [B] Feuerwehr Musterstadt Zug 1 Brand in der Küche, Hauptstraße"),
      QStringLiteral("\t22334 Unbekannt"),
      QString::fromUtf8("1234568 [D] Feuerwehr Beispieldorf Info Übung Süd"),
  };
  EXPECT_TRUE(waitFor([&] { return meldlux.log().contains(expected.back()); }, 60000))
      << meldlux.log().toStdString() << receiver.errors().toStdString();
  QThread::msleep(1500); // a telegram served twice would be here by now
  QStringList messages;
  for (const QString& line : meldlux.log().split(u'\n'))
    if (line.startsWith(QStringLiteral("message\t")))
      messages << line;
  meldlux.process.kill();
  meldlux.process.waitForFinished();
  qsizetype last = -1;
  for (const QString& text : expected) {
    qsizetype at = last + 1;
    while (at < messages.size() && !messages[at].contains(text))
      ++at;
    EXPECT_LT(at, messages.size()) << "missing or out of order: " << text.toStdString() << "\n"
                                   << messages.join(u'\n').toStdString();
    EXPECT_EQ(messages.filter(text).size(), 1)
        << text.toStdString() << "\nserved: " << wire.lines().join(u'|').toStdString();
    last = at;
  }
}

TEST_F(MqttBridge, ALateSubscriberGetsTheFleetAndAKilledBridgeSaysOffline) {
  ASSERT_TRUE(broker.start());
  BridgeRun receiver(file("receiver.err"));
  ASSERT_TRUE(receiver.start(publishTo(broker.url(), "nord")));
  ASSERT_TRUE(receiver.said(QStringLiteral("connected to the broker"), 10000))
      << receiver.errors().toStdString();
  receiver.writeLine(fmsLine(3, 0));
  receiver.writeLine(fmsLine(4, 0));
  receiver.writeLine(fmsLine(2, 1)); // the control centre to the vehicle: not its status
  receiver.writeLine(zvei(1));

  std::vector<SeenMessage> seen;
  const auto retainedStatus = [&] {
    for (const SeenMessage& m : seen)
      if (m.topic == "meldlux/nord/fms/64101951" && m.retained)
        return QJsonDocument::fromJson(m.payload)["fields"]["status"].toInt();
    return -1;
  };
  // Asked as a newcomer, again until the last status is there.
  EXPECT_TRUE(waitFor(
      [&] {
        seen = subscribeFor(broker.port(), "meldlux/nord/#", 500);
        return retainedStatus() == 4 && seen.size() >= 2;
      },
      10000))
      << retainedStatus();
  QByteArrayList retained;
  for (const SeenMessage& m : seen)
    if (m.retained)
      retained << m.topic + '=' + (m.topic.endsWith("bridge") ? m.payload : QByteArray("json"));
  std::sort(retained.begin(), retained.end());
  EXPECT_EQ(retained.join(' '),
            "meldlux/nord/bridge={\"online\":true} meldlux/nord/fms/64101951=json");

  receiver.process.kill(); // SIGKILL: no goodbye, the broker speaks the last will
  EXPECT_TRUE(waitFor(
      [&] {
        for (const SeenMessage& m : subscribeFor(broker.port(), "meldlux/nord/bridge", 300))
          if (m.retained && m.payload == "{\"online\":false}")
            return true;
        return false;
      },
      10000));
}

TEST_F(MqttBridge, ABrokerRestartLosesNothingTheQueueHeldAndNothingComesTwice) {
  ASSERT_TRUE(broker.start());
  BridgeRun station(file("station.err"));
  ASSERT_TRUE(station.start(receiveFrom(broker.url(), "sued")));
  ASSERT_TRUE(station.said(QStringLiteral("receiving"), 10000));
  BridgeRun receiver(file("receiver.err"));
  ASSERT_TRUE(receiver.start(publishTo(broker.url(), "sued") +
                             QStringList{QStringLiteral("--mqtt-queue"), QStringLiteral("5")}));
  ASSERT_TRUE(receiver.said(QStringLiteral("connected to the broker"), 10000))
      << receiver.errors().toStdString();
  LineClient atStation, atReceiver;
  ASSERT_TRUE(atStation.connectTo(station.port));
  ASSERT_TRUE(atReceiver.connectTo(receiver.port));
  QThread::msleep(300); // both clients are in before the first line

  for (int n = 1; n <= 3; ++n)
    receiver.writeLine(zvei(n));
  ASSERT_TRUE(atStation.waitForLines(3, 10000)) << atStation.lines().join(u' ').toStdString();
  ASSERT_TRUE(broker.savedSince(QDateTime::currentDateTime())); // the station's session survives
  broker.kill();
  ASSERT_TRUE(receiver.said(QStringLiteral("lost the broker"), 10000));
  for (int n = 4; n <= 11; ++n) // eight while it is away, the queue holds five
    receiver.writeLine(zvei(n));
  EXPECT_TRUE(atReceiver.waitForLines(11, 10000)) << "the local clients must not wait";
  ASSERT_TRUE(broker.restart());
  EXPECT_TRUE(receiver.said(QStringLiteral("sending 5 queued telegrams; 3 dropped"), 30000))
      << receiver.errors().toStdString();
  for (int n = 12; n <= 13; ++n)
    receiver.writeLine(zvei(n));

  QStringList wanted;
  for (int n : {1, 2, 3, 7, 8, 9, 10, 11, 12, 13})
    wanted << zveiWire(n);
  EXPECT_TRUE(atStation.waitForLines(wanted.size(), 30000)) << station.errors().toStdString();
  QThread::msleep(1000); // anything served twice would be here by now
  EXPECT_EQ(atStation.lines(), wanted) << station.errors().toStdString();
  QStringList all;
  for (int n = 1; n <= 13; ++n)
    all << zveiWire(n);
  EXPECT_EQ(atReceiver.lines(), all);
  // One line when the broker went, one when the queue filled, one when it came back: not one per
  // telegram.
  for (const QString& once :
       {QStringLiteral("lost the broker"), QStringLiteral("queue for the broker"),
        broker.url() + QStringLiteral(" is back")})
    EXPECT_EQ(receiver.errors().count(once), 1) << once.toStdString() << "\n"
                                                << receiver.errors().toStdString();
}

// A second receiver for the same site (a spare one, say) must not push the first off the broker.
TEST_F(MqttBridge, TwoReceiversOfOneSiteBothStayOnTheBroker) {
  ASSERT_TRUE(broker.start());
  BridgeRun station(file("station.err"));
  ASSERT_TRUE(station.start(receiveFrom(broker.url(), "west")));
  ASSERT_TRUE(station.said(QStringLiteral("receiving"), 10000));
  BridgeRun first(file("first.err")), second(file("second.err"));
  for (BridgeRun* receiver : {&first, &second}) {
    ASSERT_TRUE(receiver->start(publishTo(broker.url(), "west")));
    ASSERT_TRUE(receiver->said(QStringLiteral("connected"), 10000));
  }
  LineClient client;
  ASSERT_TRUE(client.connectTo(station.port));
  QThread::msleep(1500);
  first.writeLine(zvei(1));
  second.writeLine(zvei(2));
  EXPECT_TRUE(client.waitForLines(2, 10000));
  QStringList got = client.lines(); // two publishers: either may be first
  got.sort();
  EXPECT_EQ(got, (QStringList{zveiWire(1), zveiWire(2)}));
  for (BridgeRun* receiver : {&first, &second})
    EXPECT_FALSE(receiver->errors().contains(QStringLiteral("lost")))
        << receiver->errors().toStdString();
}

TEST_F(MqttBridge, TlsWithAPasswordCarriesUmlautsAndAWrongPasswordIsRefusedOnce) {
  // A CA of this test's own, and the broker's certificate for 127.0.0.1 signed by it.
  const QString script = QStringLiteral(
      "cd %1 && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
      "-keyout ca.key -out ca.pem -days 1 -subj /CN=Test-CA && "
      "openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout server.key "
      "-out server.csr -subj /CN=127.0.0.1 && "
      "printf 'subjectAltName=IP:127.0.0.1\\n' > san.cnf && "
      "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 1 "
      "-extfile san.cnf -out server.pem && "
      "mosquitto_passwd -c -b passwords bridge geheim && printf 'geheim\\n' > secret");
  ASSERT_EQ(QProcess::execute(QStringLiteral("sh"),
                              {QStringLiteral("-c"),
                               "exec >" + file("tls.log") + " 2>&1; " + script.arg(dir.path())}),
            0)
      << readAll(file("tls.log")).toStdString();
  ASSERT_TRUE(broker.start(QStringLiteral("cafile %1/ca.pem\ncertfile %1/server.pem\n"
                                          "keyfile %1/server.key\npassword_file %1/passwords\n"
                                          "allow_anonymous false\n")
                               .arg(dir.path())));
  const QStringList tls = {QStringLiteral("--mqtt-ca"), file("ca.pem"),
                           QStringLiteral("--mqtt-user"), QStringLiteral("bridge")};
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("MELDLUX_MQTT_PASSWORD"), QStringLiteral("geheim"));
  BridgeRun station(file("station.err"));
  ASSERT_TRUE(station.start(receiveFrom(broker.url("mqtts"), "ost") + tls, env));
  ASSERT_TRUE(station.said(QStringLiteral("receiving"), 10000)) << station.errors().toStdString();
  BridgeRun receiver(file("receiver.err"));
  ASSERT_TRUE(receiver.start(publishTo(broker.url("mqtts"), "ost") + tls +
                             QStringList{QStringLiteral("--mqtt-password-file"), file("secret")}));
  ASSERT_TRUE(receiver.said(QStringLiteral("connected"), 10000)) << receiver.errors().toStdString();
  LineClient client;
  ASSERT_TRUE(client.connectTo(station.port));
  QThread::msleep(300);
  receiver.writeLine(QStringLiteral("POCSAG1200: Address: 1234567  Function: 1  Alpha:   "
                                    "]bung S}d<EOT>"));
  EXPECT_TRUE(client.waitForLines(1, 10000));
  EXPECT_EQ(client.lines().value(0), QString::fromUtf8("POC\t1234567\tB\tÜbung Süd"));

  env.insert(QStringLiteral("MELDLUX_MQTT_PASSWORD"), QStringLiteral("falsch"));
  BridgeRun wrongOut(file("wrong-out.err")), wrongIn(file("wrong-in.err"));
  ASSERT_TRUE(wrongOut.start(publishTo(broker.url("mqtts"), "ost") + tls, env));
  ASSERT_TRUE(wrongIn.start(receiveFrom(broker.url("mqtts"), "ost") + tls, env, false));
  EXPECT_TRUE(wrongIn.process.waitForFinished(10000)) << "the station has nothing to serve";
  EXPECT_EQ(wrongIn.process.exitCode(), 1);
  QThread::msleep(3000); // a loop of retries would have printed more by now
  for (BridgeRun* wrong : {&wrongOut, &wrongIn}) {
    const QStringList said = wrong->errors().split(u'\n').filter(QStringLiteral("broker"));
    ASSERT_EQ(said.size(), 1) << wrong->errors().toStdString();
    EXPECT_TRUE(said[0].contains(QStringLiteral("refused us"))) << said[0].toStdString();
  }
  EXPECT_EQ(wrongOut.process.state(), QProcess::Running) << "its local clients are still served";
}

// The receiver's chain dies at its site; the station learns it across the broker, and so does
// the strip of the meldlux at the station.
TEST_F(MqttBridge, AStationsHeartbeatAndStripSayWhenTheReceiverOfItsSiteIsDown) {
  ASSERT_TRUE(broker.start());
  BridgeRun station(file("station.err"));
  ASSERT_TRUE(station.start(receiveFrom(broker.url(), "funk") +
                            QStringList{QStringLiteral("--heartbeat"), QStringLiteral("0.2"),
                                        QStringLiteral("--password"), QStringLiteral("geheim")}));
  ASSERT_TRUE(station.said(QStringLiteral("receiving"), 10000)) << station.errors().toStdString();
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, station.port);
  ASSERT_TRUE(client.waitForConnected(5000));
  client.write("PASS:geheim\r\n");
  MeldluxRun meldlux(dir.path(), QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\nPW=geheim\n"
                                                "[Einstellungen]\nAutoConnect=1\n")
                                     .arg(station.port));
  ASSERT_TRUE(meldlux.start({}, {}));
  ASSERT_TRUE(
      waitFor([&] { return meldlux.logged(QStringLiteral("sent\tPASS:geheim\\r\\n")); }, 30000))
      << meldlux.log().toStdString();
  // Some audio, then the source falls silent: the receiver's chain is down.
  BridgeRun receiver(file("receiver.err"));
  ASSERT_TRUE(receiver.start(publishTo(broker.url(), "funk") +
                             QStringList{QStringLiteral("--audio"),
                                         QStringLiteral("head -c 44100 /dev/zero; exec sleep 600"),
                                         QStringLiteral("--audio-timeout"), QStringLiteral("2")}));
  QByteArray heard; // ok first, then down
  EXPECT_TRUE(waitFor(
      [&] {
        client.waitForReadyRead(50);
        heard += client.readAll();
        return heard.indexOf("#!XX!# meldlux interval=0.2 receiver=down since=",
                             heard.indexOf("#!XX!# meldlux interval=0.2 receiver=ok\r\n")) > 0;
      },
      15000))
      << heard.toStdString() << receiver.errors().toStdString();
  EXPECT_TRUE(waitFor(
      [&] {
        return meldlux.log().contains(
            QStringLiteral("supervision	warning	receiver	Empfänger gestört seit "));
      },
      10000))
      << meldlux.log().toStdString();
  meldlux.process.kill();
  meldlux.process.waitForFinished();
}
