// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

// The screen the popup lies on, in twips (1440 per logical inch).
class Screen {
public:
  virtual ~Screen() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
};

// A screen of a given size; the default is 1280 x 1024 pixels at 15 twips per pixel.
class FixedScreen final : public Screen {
public:
  FixedScreen(int width = 19200, int height = 15360) : width_(width), height_(height) {}
  int width() const override { return width_; }
  int height() const override { return height_; }

private:
  int width_;
  int height_;
};

} // namespace meldlux
