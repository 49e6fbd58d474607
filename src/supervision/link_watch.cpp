// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/link_watch.h"

#include "base/clock.h"
#include "base/formats.h"
#include "state/link_state.h"
#include "supervision/heartbeat_content.h"
#include "supervision/ticker.h"

#include <algorithm>
#include <cmath>

namespace meldlux {

namespace {

const QString kLinkKey = QStringLiteral("link");
const QString kSilenceKey = QStringLiteral("silence");
const QString kReceiverKey = QStringLiteral("receiver");
// Clock values are days; a second made of them may come out a hair short.
constexpr double kSlack = 1e-3;

} // namespace

LinkWatch::LinkWatch(const Clock& clock, const LinkState& link, Ticker& ticker,
                     WatchEventSink& sink)
    : clock_(clock), link_(link), ticker_(ticker), sink_(sink) {}

double LinkWatch::secondsSince(OleDate then) const {
  return (clock_.now() - then) * kSecondsPerDay + kSlack;
}

int LinkWatch::minutesSince(OleDate then) const {
  return std::max(1, int(std::lround(secondsSince(then) / 60.0)));
}

QString LinkWatch::expectedKey(const QString& code) {
  return QStringLiteral("expected:") + code;
}

void LinkWatch::setSettings(const WatchSettings& settings) {
  settings_ = settings;
  std::vector<Expected> kept;
  for (const ExpectedTelegram& telegram : settings_.expected()) {
    const auto old = std::find_if(expected_.begin(), expected_.end(), [&](const Expected& e) {
      return e.telegram.code == telegram.code;
    });
    kept.push_back({telegram, old != expected_.end() ? old->lastSeen : clock_.now()});
  }
  for (const Expected& gone : expected_) {
    if (std::none_of(kept.begin(), kept.end(),
                     [&](const Expected& e) { return e.telegram.code == gone.telegram.code; }))
      end(expectedKey(gone.telegram.code), {});
  }
  expected_ = std::move(kept);
  if (settings_.connectionWarnSeconds == 0)
    end(kLinkKey, {});
  if (silenceLimitSeconds() == 0)
    end(kSilenceKey, {});
}

void LinkWatch::start(bool autoConnect) {
  running_ = true;
  const OleDate now = clock_.now();
  for (Expected& e : expected_)
    e.lastSeen = now;
  if (autoConnect && !up_ && downSince_ == 0)
    downSince_ = now;
  ticker_.start(kTickMs, [this] { check(); });
}

void LinkWatch::stop() {
  running_ = false;
  ticker_.stop();
}

void LinkWatch::linkUp() {
  if (downSince_ != 0)
    end(kLinkKey, QStringLiteral("Verbindung wieder da (unterbrochen %1 min)")
                      .arg(minutesSince(downSince_)));
  up_ = true;
  downSince_ = 0;
  upSince_ = clock_.now();
  heartbeatInterval_ = 0; // each server announces its own
}

void LinkWatch::linkDown(bool askedFor) {
  const bool wasUp = up_;
  up_ = false;
  end(kSilenceKey, {}); // the link's own warning takes over
  if (askedFor) {
    downSince_ = 0;
    end(kLinkKey, {});
  } else if (wasUp || downSince_ == 0) {
    downSince_ = clock_.now();
  }
}

void LinkWatch::heartbeat(QStringView line) {
  const HeartbeatContent content = HeartbeatContent::read(line);
  if (!content.present)
    return;
  if (content.intervalSeconds > 0)
    heartbeatInterval_ = content.intervalSeconds;
  if (content.receiver == HeartbeatContent::Receiver::Down && receiverDownSince_ == 0) {
    receiverDownSince_ = content.since != 0 ? content.since : clock_.now();
    raise(WatchKind::Receiver, kReceiverKey,
          QStringLiteral("Empfänger gestört seit ") + formatTime(receiverDownSince_));
  } else if (content.receiver == HeartbeatContent::Receiver::Ok && receiverDownSince_ != 0) {
    end(kReceiverKey, QStringLiteral("Empfänger wieder in Ordnung (gestört %1 min)")
                          .arg(minutesSince(receiverDownSince_)));
    receiverDownSince_ = 0;
  }
}

void LinkWatch::telegram(QStringView code) {
  for (Expected& e : expected_) {
    if (e.telegram.code != u"*" && e.telegram.code != code)
      continue;
    e.lastSeen = clock_.now();
    if (active_.empty())
      continue; // the usual case, on every telegram: no warning to end, no text to build
    end(expectedKey(e.telegram.code),
        QStringLiteral("Erwartete Meldung %1 wieder empfangen").arg(e.telegram.code));
  }
}

void LinkWatch::check() {
  if (!running_)
    return;
  checkLink();
  checkSilence();
  checkExpected();
  repeatDue();
}

bool LinkWatch::warningActive(QStringView key) const {
  return std::any_of(active_.begin(), active_.end(),
                     [key](const Active& a) { return a.warning.key == key; });
}

void LinkWatch::raise(WatchKind kind, const QString& key, const QString& text) {
  if (!running_ || warningActive(key))
    return;
  WatchEvent event{kind, WatchPhase::Warning, key, text};
  active_.push_back({event, clock_.now()});
  sink_.report(event);
}

void LinkWatch::end(const QString& key, const QString& recovery) {
  const auto found = std::find_if(active_.begin(), active_.end(),
                                  [&key](const Active& a) { return a.warning.key == key; });
  if (found == active_.end())
    return;
  WatchEvent event = found->warning;
  active_.erase(found);
  event.phase = recovery.isEmpty() ? WatchPhase::Ended : WatchPhase::Recovery;
  event.text = recovery;
  sink_.report(event);
}

int LinkWatch::silenceLimitSeconds() const {
  // A server that says how often it speaks is silent after three of its intervals.
  if (settings_.silenceWarnSeconds > 0)
    return settings_.silenceWarnSeconds;
  return heartbeatInterval_ * 3;
}

void LinkWatch::checkLink() {
  const int limit = settings_.connectionWarnSeconds;
  if (downSince_ != 0 && limit > 0 && secondsSince(downSince_) >= limit)
    raise(WatchKind::Link, kLinkKey,
          QStringLiteral("Keine Verbindung zum Server seit ") + formatTime(downSince_));
}

void LinkWatch::checkSilence() {
  if (!up_)
    return;
  const OleDate lastHeard = std::max(upSince_, link_.LastReceived);
  if (warningActive(kSilenceKey)) {
    if (lastHeard > silentSince_)
      end(kSilenceKey, QStringLiteral("Server sendet wieder (still %1 min)")
                           .arg(std::max(1, int(std::lround((lastHeard - silentSince_) *
                                                            kSecondsPerDay / 60.0)))));
    return;
  }
  const int limit = silenceLimitSeconds();
  if (limit > 0 && secondsSince(lastHeard) >= limit) {
    silentSince_ = lastHeard;
    raise(WatchKind::Silence, kSilenceKey,
          QStringLiteral("Server schweigt seit ") + formatTime(lastHeard));
  }
}

void LinkWatch::checkExpected() {
  for (const Expected& e : expected_) {
    if (secondsSince(e.lastSeen) >= e.telegram.minutes * 60.0)
      raise(WatchKind::Expected, expectedKey(e.telegram.code),
            QStringLiteral("Erwartete Meldung %1 seit %2 ausgeblieben")
                .arg(e.telegram.code, formatTime(e.lastSeen)));
  }
}

void LinkWatch::repeatDue() {
  if (settings_.repeatMinutes <= 0)
    return;
  for (Active& a : active_) {
    if (secondsSince(a.lastShown) < settings_.repeatMinutes * 60.0)
      continue;
    a.lastShown = clock_.now();
    WatchEvent again = a.warning;
    again.phase = WatchPhase::Repeat;
    sink_.report(again);
  }
}

} // namespace meldlux
