// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"
#include "supervision/watch_event.h"
#include "supervision/watch_settings.h"

#include <QStringView>
#include <vector>

namespace meldlux {

class Clock;
class Ticker;
struct LinkState;

// Watches the alarm chain from the client's end: a link that stays lost, a server that says
// nothing, an expected telegram that does not come, a receiver the server reports as down. Each
// becomes a warning when it starts, again every repeatMinutes while it lasts, and a recovery
// line when it ends. It looks at the clock once a second (the ticker) and is told of the
// link's events, heartbeats and telegrams by the program.
class LinkWatch {
public:
  static constexpr int kTickMs = 1000;

  LinkWatch(const Clock& clock, const LinkState& link, Ticker& ticker, WatchEventSink& sink);

  // May change while running: warnings the new settings no longer watch end without a line.
  void setSettings(const WatchSettings& settings);
  const WatchSettings& settings() const { return settings_; }

  // From the end of start-up: with automatic connection on, the link is expected from now on.
  void start(bool autoConnect);
  // The program ends: nothing more is reported.
  void stop();

  // The link is "Verbunden".
  void linkUp();
  // The link is lost or an attempt failed; askedFor when the user disconnected ("Trennen") or
  // cancelled the attempt: then the link is not watched until it is up again.
  void linkDown(bool askedFor);
  // A heartbeat line, whole.
  void heartbeat(QStringView line);
  // A telegram from the dispatch: the sender's code as received.
  void telegram(QStringView code);
  // The tick: starts the warnings that are due and repeats the lasting ones.
  void check();

  bool warningActive(QStringView key) const;

private:
  struct Active {
    WatchEvent warning;
    OleDate lastShown = 0;
  };
  struct Expected {
    ExpectedTelegram telegram;
    OleDate lastSeen = 0;
  };

  double secondsSince(OleDate then) const;
  int minutesSince(OleDate then) const;
  void raise(WatchKind kind, const QString& key, const QString& text);
  // Ends an active warning: with the recovery line, or without a line when it is empty.
  void end(const QString& key, const QString& recovery);
  int silenceLimitSeconds() const;
  void checkLink();
  void checkSilence();
  void checkExpected();
  void repeatDue();
  static QString expectedKey(const QString& code);

  const Clock& clock_;
  const LinkState& link_;
  Ticker& ticker_;
  WatchEventSink& sink_;
  WatchSettings settings_;
  std::vector<Expected> expected_;
  std::vector<Active> active_;
  bool running_ = false;
  bool up_ = false;
  OleDate downSince_ = 0;   // 0: the link is not expected now
  OleDate upSince_ = 0;
  OleDate silentSince_ = 0; // the last line heard when the silence warning began
  int heartbeatInterval_ = 0;
  OleDate receiverDownSince_ = 0;
};

} // namespace meldlux
