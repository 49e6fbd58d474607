// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/save_soon.h"

namespace meldlux {

SaveSoon::SaveSoon(SaveSettings& save, std::function<bool()> mainWindowVisible, QObject* parent)
    : QObject(parent), save_(save), mainWindowVisible_(std::move(mainWindowVisible)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  connect(&timer_, &QTimer::timeout, this, &SaveSoon::check);
}

void SaveSoon::begin(bool mainWindowVisible) {
  last_ = save_.entries(mainWindowVisible);
  active_ = true;
}

void SaveSoon::hint() {
  if (active_ && !timer_.isActive())
    timer_.start();
}

void SaveSoon::now() {
  timer_.stop();
  check();
}

void SaveSoon::end() {
  active_ = false;
  timer_.stop();
}

void SaveSoon::check() {
  if (!active_)
    return;
  std::vector<SettingsStore::Entry> now = save_.entries(mainWindowVisible_());
  if (now == last_)
    return;
  save_.write(now, QStringLiteral("change"));
  last_ = std::move(now);
}

} // namespace meldlux
