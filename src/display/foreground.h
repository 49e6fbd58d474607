// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

// The window the user works in. Showing the popup remembers it first and hands the foreground
// back afterwards, so the popup never keeps the keyboard focus.
class Foreground {
public:
  virtual ~Foreground() = default;
  virtual void remember() = 0;
  virtual void restore() = 0;
};

// For platforms (and tests) where showing a window never moves the focus anyway.
class NoForeground final : public Foreground {
public:
  void remember() override {}
  void restore() override {}
};

} // namespace meldlux
