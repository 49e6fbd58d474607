// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/clock.h"
#include "dispatch/dispatch_fixture.h"
#include "state/link_state.h"
#include "supervision/heartbeat_content.h"
#include "supervision/link_watch.h"
#include "supervision/ticker.h"
#include "supervision/watched_handlers.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

// The watch with a clock that starts at 04.12.2026 12:00:00, ticked by hand once a second; its
// events as "phase kind: text".
struct Rig final : Ticker, WatchEventSink {
  explicit Rig(const char* expected = "", int connection = 90, int silence = 0) {
    WatchSettings s;
    s.connectionWarnSeconds = connection;
    s.silenceWarnSeconds = silence;
    s.expectedText = QString::fromLatin1(expected);
    watch.setSettings(s);
  }
  void start(int, std::function<void()> tick) override { tick_ = std::move(tick); }
  void stop() override { tick_ = nullptr; }
  void report(const WatchEvent& e) override {
    events << watchPhaseName(e.phase) + u' ' + e.key + QStringLiteral(": ") + e.text;
  }
  void pass(int seconds) {
    for (int i = 0; i < seconds; ++i) {
      clock.advance(1);
      if (tick_)
        tick_();
    }
  }
  QStringList take() { return std::exchange(events, {}); }

  ManualClock clock;
  LinkState link;
  std::function<void()> tick_;
  QStringList events;
  LinkWatch watch{clock, link, *this, *this};
};

TEST(LinkWatch, LinkLossWarnsAfterTheSetTimeRepeatsAndRecovers) {
  Rig rig;
  rig.watch.start(false);
  rig.watch.linkUp();
  rig.pass(10);
  rig.watch.linkDown(false); // 12:00:10
  rig.pass(89);
  EXPECT_TRUE(rig.take().isEmpty());
  rig.pass(1);
  rig.watch.linkDown(false); // a failed attempt keeps the first loss's time
  rig.pass(300);
  rig.pass(60); // down 7.5 min in all
  rig.watch.linkUp();
  EXPECT_EQ(rig.take(), (QStringList{"warning link: Keine Verbindung zum Server seit 12:00:10",
                                     "repeat link: Keine Verbindung zum Server seit 12:00:10",
                                     "recovery link: Verbindung wieder da (unterbrochen 8 min)"}));
}

TEST(LinkWatch, LossesThatDoNotWarn) {
  using Act = std::function<void(Rig&)>;
  const Act none = [](Rig&) {};
  const Act lost = [](Rig& r) { r.watch.linkUp(); r.watch.linkDown(false); };
  const std::tuple<const char*, int, bool, Act, bool> cases[] = {
      {"never connected, auto-connect on", 90, true, none, true},
      {"never connected, auto-connect off", 90, false, none, false},
      {"the user disconnected", 90, true, [](Rig& r) { r.watch.linkUp(); r.watch.linkDown(true); }, false},
      {"the user's attempt failed", 90, false, [](Rig& r) { r.watch.linkDown(false); }, true},
      {"switched off", 0, true, lost, false},
      {"back in time", 90, true, [](Rig& r) { r.pass(80); r.watch.linkUp(); }, false},
      {"program ended", 90, true, [](Rig& r) { r.watch.stop(); }, false}};
  for (const auto& [what, warnSeconds, autoConnect, act, warns] : cases) {
    Rig rig("", warnSeconds);
    rig.watch.start(autoConnect);
    act(rig);
    rig.pass(200);
    rig.watch.check();
    EXPECT_EQ(rig.watch.warningActive(u"link"), warns) << what;
  }
}

TEST(LinkWatch, SilenceByTheSettingOrByThreeHeartbeatIntervals) {
  Rig rig("", 0);
  rig.watch.start(true);
  rig.watch.linkUp();
  rig.pass(1000); // off without a setting and without an interval
  rig.link.LastReceived = rig.clock.now();
  rig.watch.heartbeat(u"#!XX!# meldlux interval=20 receiver=ok");
  rig.pass(59);
  rig.link.LastReceived = rig.clock.now();
  rig.watch.heartbeat(u"#!XX!#"); // a plain heartbeat is heard, and keeps the interval
  rig.pass(120);
  rig.link.LastReceived = rig.clock.now();
  rig.pass(1);
  EXPECT_EQ(rig.take(), (QStringList{"warning silence: Server schweigt seit 12:17:39",
                                     "recovery silence: Server sendet wieder (still 2 min)"}));
  // The setting wins over the interval; a lost link ends the silence without a line.
  WatchSettings s = rig.watch.settings();
  s.silenceWarnSeconds = 10;
  rig.watch.setSettings(s);
  rig.pass(10);
  rig.watch.linkDown(false);
  EXPECT_EQ(rig.take(), (QStringList{"warning silence: Server schweigt seit 12:19:39",
                                     "ended silence: "}));
}

TEST(LinkWatch, ExpectedTelegramsByCodeAndAny) {
  Rig rig("1234567=5;*=8", 0);
  rig.watch.start(false);
  rig.pass(170);
  rig.watch.telegram(u"21001"); // any telegram, 12:02:50
  rig.pass(480);
  rig.watch.telegram(u"1234567");
  const QString code = QStringLiteral("1234567: Erwartete Meldung 1234567 ");
  EXPECT_EQ(rig.take(),
            (QStringList{"warning expected:" + code + "seit 12:00:00 ausgeblieben",
                         "repeat expected:" + code + "seit 12:00:00 ausgeblieben",
                         "warning expected:*: Erwartete Meldung * seit 12:02:50 ausgeblieben",
                         "recovery expected:" + code + "wieder empfangen",
                         "recovery expected:*: Erwartete Meldung * wieder empfangen"}));
}

TEST(LinkWatch, ReceiverDownWarnsAtOnceWithTheServersTime) {
  Rig rig;
  rig.watch.start(false);
  rig.watch.linkUp();
  const QString since = fromOleDate(rig.clock.now() - 125.0 / kSecondsPerDay)
                            .toOffsetFromUtc(3600)
                            .toString(Qt::ISODate);
  const QString down = "#!XX!# meldlux interval=30 receiver=down since=" + since + " later";
  rig.watch.heartbeat(down);
  rig.watch.heartbeat(down); // still down: no second warning
  rig.pass(60);
  rig.watch.heartbeat(u"#!XX!# meldlux interval=30 receiver=ok");
  EXPECT_EQ(rig.take(), (QStringList{"warning receiver: Empfänger gestört seit 11:57:55",
                                     "recovery receiver: Empfänger wieder in Ordnung (gestört 3 min)"}));
}

TEST(HeartbeatContent, ReadsOnlyItsOwnForm) {
  using R = HeartbeatContent::Receiver;
  const std::tuple<const char16_t*, bool, int, R> cases[] = {
      {u"#!XX!#meldlux interval=30", false, 0, R::Unknown},
      {u"#!XX!# other interval=30", false, 0, R::Unknown},
      {u"#!XX!# meldlux receiver=down interval=x since=gestern", true, 0, R::Down},
      {u"#!XX!# meldlux  interval=-5 receiver=DOWN extra=1", true, 0, R::Unknown}};
  for (const auto& [line, present, interval, receiver] : cases) {
    const HeartbeatContent h = HeartbeatContent::read(QStringView(line));
    EXPECT_EQ(std::tuple(h.present, h.intervalSeconds, h.receiver, h.since),
              std::tuple(present, interval, receiver, 0.0))
        << QString::fromUtf16(line).toStdString();
  }
}

TEST(WatchSettings, ExpectedListKeepsWhatReadsAndSaysWhatNot) {
  QStringList problems;
  const auto entries =
      parseExpected(QStringLiteral(" 1234567=1500; 21001 = 10080;*=240;;abc;=5;x=0;y=z"), &problems);
  EXPECT_EQ(entries, (QList<ExpectedTelegram>{{QStringLiteral("1234567"), 1500},
                                              {QStringLiteral("21001"), 10080},
                                              {QStringLiteral("*"), 240}}));
  EXPECT_EQ(problems.size(), 4);
}

// Each of the four calls reaches the handlers with its arguments, a handler's failure reaches the
// dispatch, and the watch hears every sender on the way.
TEST(WatchedHandlers, HandEveryTelegramOnAndTellTheWatchItsSender) {
  Rig rig("21001=5;1234567=5;64123456=5;66123456=5", 0);
  rig.watch.start(false);
  rig.pass(301);
  EXPECT_EQ(rig.take().size(), 4);
  testing::RecordingHandlers handlers;
  WatchedHandlers watched(rig.watch, handlers);
  QString zvei = QStringLiteral("21001"), ric = QStringLiteral("1234567");
  QString vehicle = QStringLiteral("64123456"), control = QStringLiteral("66123456");
  QString text = QStringLiteral("Brand"), function = QStringLiteral("4");
  std::int16_t status = 3;
  OleDate time = 46360.5;
  watched.HandleZvei(zvei, time);
  watched.HandlePocsag(ric, text, function, time);
  watched.HandleFmsVehicle(vehicle, status, text, time);
  handlers.failNext = true;
  EXPECT_THROW(watched.HandleFmsControl(control, status, text, time), Failure);
  EXPECT_EQ(handlers.calls, (QStringList{"Z:21001", "P:1234567:4:Brand", "V:64123456:3:Brand",
                                         "C:66123456:3:Brand"}));
  EXPECT_EQ(handlers.times, std::vector<OleDate>(4, 46360.5));
  const QStringList events = rig.take();
  for (const char* code : {"21001", "1234567", "64123456", "66123456"})
    EXPECT_TRUE(events.contains(QStringLiteral("recovery expected:%1: Erwartete Meldung %1 wieder "
                                               "empfangen")
                                    .arg(QLatin1String(code))))
        << code << ": " << events.join(u'|').toStdString();
}

} // namespace
} // namespace meldlux
