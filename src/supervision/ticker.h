// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <functional>

namespace meldlux {

// A steady tick for rules that look at the clock now and then. Tests tick by hand.
class Ticker {
public:
  virtual ~Ticker() = default;
  virtual void start(int intervalMs, std::function<void()> tick) = 0;
  virtual void stop() = 0;
};

class QtTicker final : public Ticker {
public:
  QtTicker();
  void start(int intervalMs, std::function<void()> tick) override;
  void stop() override { timer_.stop(); }

private:
  QTimer timer_;
  std::function<void()> tick_;
};

} // namespace meldlux
