// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/clock.h"
#include "state/link_state.h"
#include "supervision/heartbeat_content.h"
#include "supervision/link_watch.h"
#include "supervision/ticker.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace meldlux {
namespace {

class HandTicker final : public Ticker {
public:
  void start(int, std::function<void()> tick) override { tick_ = std::move(tick); }
  void stop() override { tick_ = nullptr; }
  std::function<void()> tick_;
};

class Recorder final : public WatchEventSink {
public:
  void report(const WatchEvent& event) override { events.push_back(event); }
  std::vector<WatchEvent> events;
};

// The clock starts at 04.12.2026 12:00:00.
struct Rig {
  explicit Rig(WatchSettings settings = {}) : watch(clock, link, ticker, sink) {
    watch.setSettings(settings);
  }
  // Seconds pass one tick at a time, as the real ticker would see them.
  void pass(int seconds) {
    for (int i = 0; i < seconds; ++i) {
      clock.advance(1);
      if (ticker.tick_)
        ticker.tick_();
    }
  }
  void hear() { link.LastReceived = clock.now(); }
  std::vector<WatchEvent> take() { return std::exchange(sink.events, {}); }

  ManualClock clock;
  LinkState link;
  HandTicker ticker;
  Recorder sink;
  LinkWatch watch;
};

WatchEvent ev(WatchKind kind, WatchPhase phase, const char* key, const QString& text) {
  return {kind, phase, QString::fromLatin1(key), text};
}

TEST(LinkWatch, LinkLossWarnsAfterTheSetTimeRepeatsAndRecovers) {
  WatchSettings s;
  s.connectionWarnSeconds = 90;
  s.repeatMinutes = 5;
  Rig rig(s);
  rig.watch.start(false);
  rig.watch.linkUp();
  rig.pass(10);
  rig.watch.linkDown(false); // 12:00:10
  rig.pass(89);
  EXPECT_TRUE(rig.take().empty());
  rig.pass(1);
  const QString text = QStringLiteral("Keine Verbindung zum Server seit 12:00:10");
  EXPECT_EQ(rig.take(), (std::vector{ev(WatchKind::Link, WatchPhase::Warning, "link", text)}));
  rig.watch.linkDown(false); // a failed attempt keeps the first loss's time
  rig.pass(299);
  EXPECT_TRUE(rig.take().empty());
  rig.pass(1);
  EXPECT_EQ(rig.take(), (std::vector{ev(WatchKind::Link, WatchPhase::Repeat, "link", text)}));
  rig.pass(60); // down 7.5 min in all
  rig.watch.linkUp();
  EXPECT_EQ(rig.take(), (std::vector{ev(WatchKind::Link, WatchPhase::Recovery, "link",
                                       QStringLiteral("Verbindung wieder da (unterbrochen 8 min)"))}));
}

TEST(LinkWatch, LossesThatDoNotWarn) {
  struct Case {
    const char* what;
    int warnSeconds;
    bool autoConnect;
    std::function<void(Rig&)> act;
    bool warns;
  };
  const std::vector<Case> cases = {
      {"never connected, auto-connect on", 90, true, [](Rig&) {}, true},
      {"never connected, auto-connect off", 90, false, [](Rig&) {}, false},
      {"the user disconnected", 90, true,
       [](Rig& r) { r.watch.linkUp(); r.watch.linkDown(true); }, false},
      {"the user's attempt failed", 90, false, [](Rig& r) { r.watch.linkDown(false); }, true},
      {"switched off", 0, true, [](Rig& r) { r.watch.linkUp(); r.watch.linkDown(false); }, false},
      {"back in time", 90, true, [](Rig& r) { r.pass(80); r.watch.linkUp(); }, false},
      {"program ended", 90, true, [](Rig& r) { r.watch.stop(); }, false},
  };
  for (const Case& c : cases) {
    WatchSettings s;
    s.connectionWarnSeconds = c.warnSeconds;
    Rig rig(s);
    rig.watch.start(c.autoConnect);
    c.act(rig);
    rig.pass(200);
    rig.watch.check();
    EXPECT_EQ(rig.watch.warningActive(u"link"), c.warns) << c.what;
  }
}

TEST(LinkWatch, SilenceByTheSettingOrByThreeHeartbeatIntervals) {
  WatchSettings s;
  s.connectionWarnSeconds = 0;
  s.silenceWarnSeconds = 0;
  Rig rig(s);
  rig.watch.start(true);
  rig.watch.linkUp();
  rig.pass(1000);
  EXPECT_TRUE(rig.take().empty()) << "off without a setting and without an interval";
  rig.hear();
  rig.watch.heartbeat(u"#!XX!# meldlux interval=20 receiver=ok");
  rig.pass(59);
  rig.hear();
  rig.watch.heartbeat(u"#!XX!#"); // a plain heartbeat is heard, and keeps the interval
  rig.pass(60);
  EXPECT_EQ(rig.take(), (std::vector{ev(WatchKind::Silence, WatchPhase::Warning, "silence",
                                       QStringLiteral("Server schweigt seit 12:17:39"))}));
  rig.pass(60);
  rig.hear();
  rig.pass(1);
  EXPECT_EQ(rig.take(), (std::vector{ev(WatchKind::Silence, WatchPhase::Recovery, "silence",
                                       QStringLiteral("Server sendet wieder (still 2 min)"))}));
  // The setting wins over the interval; a lost link ends the silence without a line.
  s.silenceWarnSeconds = 10;
  rig.watch.setSettings(s);
  rig.pass(10);
  EXPECT_EQ(rig.take().at(0).phase, WatchPhase::Warning);
  rig.watch.linkDown(false);
  EXPECT_EQ(rig.take(), (std::vector{ev(WatchKind::Silence, WatchPhase::Ended, "silence", {})}));
}

TEST(LinkWatch, ExpectedTelegramsByCodeAndAny) {
  WatchSettings s;
  s.connectionWarnSeconds = 0;
  s.expectedText = QStringLiteral("1234567=5;*=8");
  Rig rig(s);
  rig.watch.start(false);
  rig.pass(170);
  rig.watch.telegram(u"21001"); // any telegram, 12:02:50
  rig.pass(130);
  const QString code = QStringLiteral("Erwartete Meldung 1234567 seit 12:00:00 ausgeblieben");
  EXPECT_EQ(rig.take(),
            (std::vector{ev(WatchKind::Expected, WatchPhase::Warning, "expected:1234567", code)}));
  rig.pass(350);
  EXPECT_EQ(rig.take(),
            (std::vector{ev(WatchKind::Expected, WatchPhase::Repeat, "expected:1234567", code),
                         ev(WatchKind::Expected, WatchPhase::Warning, "expected:*",
                            QStringLiteral("Erwartete Meldung * seit 12:02:50 ausgeblieben"))}));
  rig.watch.telegram(u"1234567");
  EXPECT_EQ(rig.take(),
            (std::vector{ev(WatchKind::Expected, WatchPhase::Recovery, "expected:1234567",
                            QStringLiteral("Erwartete Meldung 1234567 wieder empfangen")),
                         ev(WatchKind::Expected, WatchPhase::Recovery, "expected:*",
                            QStringLiteral("Erwartete Meldung * wieder empfangen"))}));
}

TEST(LinkWatch, ReceiverDownWarnsAtOnceWithTheServersTime) {
  Rig rig;
  rig.watch.start(false);
  rig.watch.linkUp();
  const QString down = QStringLiteral("#!XX!# meldlux interval=30 receiver=down since=%1 later")
                           .arg(fromOleDate(rig.clock.now() - 125.0 / kSecondsPerDay)
                                    .toOffsetFromUtc(3600)
                                    .toString(Qt::ISODate));
  rig.watch.heartbeat(down);
  rig.watch.heartbeat(down); // still down: no second warning
  EXPECT_EQ(rig.take(), (std::vector{ev(WatchKind::Receiver, WatchPhase::Warning, "receiver",
                                       QStringLiteral("Empfänger gestört seit 11:57:55"))}));
  rig.pass(60);
  rig.watch.heartbeat(u"#!XX!# meldlux interval=30 receiver=ok");
  EXPECT_EQ(rig.take(),
            (std::vector{ev(WatchKind::Receiver, WatchPhase::Recovery, "receiver",
                            QStringLiteral("Empfänger wieder in Ordnung (gestört 3 min)"))}));
}

TEST(HeartbeatContent, ReadsOnlyItsOwnForm) {
  struct Case {
    const char16_t* line;
    bool present;
    int interval;
    HeartbeatContent::Receiver receiver;
  };
  using R = HeartbeatContent::Receiver;
  const Case cases[] = {
      {u"#!XX!#", false, 0, R::Unknown},
      {u"#!XX!#meldlux interval=30", false, 0, R::Unknown},
      {u"#!XX!# other interval=30", false, 0, R::Unknown},
      {u"#!XX!# meldlux", true, 0, R::Unknown},
      {u"#!XX!# meldlux interval=30 receiver=ok", true, 30, R::Ok},
      {u"#!XX!# meldlux receiver=down interval=x", true, 0, R::Down},
      {u"#!XX!# meldlux interval=-5 receiver=DOWN extra=1", true, 0, R::Unknown},
      {u"#!XX!# meldlux  interval=30", true, 30, R::Unknown}, // an empty word is skipped
  };
  for (const Case& c : cases) {
    const HeartbeatContent h = HeartbeatContent::read(QStringView(c.line));
    EXPECT_EQ(h.present, c.present) << QString::fromUtf16(c.line).toStdString();
    EXPECT_EQ(h.intervalSeconds, c.interval) << QString::fromUtf16(c.line).toStdString();
    EXPECT_EQ(h.receiver, c.receiver) << QString::fromUtf16(c.line).toStdString();
  }
  EXPECT_EQ(HeartbeatContent::read(u"#!XX!# meldlux receiver=down since=gestern").since, 0);
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

} // namespace
} // namespace meldlux
