// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

// The programs write their texts as UTF-8, to a pipe or a file as to a console, as on Linux. While
// this lives, a console window shows them right: on Windows its output code page is UTF-8 until
// the program ends, then the one it had again (the console is the user's); elsewhere consoles
// take UTF-8 anyway. Made first in main(), so that it outlives every stream that writes.
class Utf8Console {
public:
  // `attachToParent`: a desktop program (no console of its own) first joins the console of the
  // shell it was started from, unless its output goes to a pipe or a file.
  explicit Utf8Console(bool attachToParent = false);
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

private:
  unsigned previousCodePage_ = 0; // 0: nothing to give back
};

} // namespace meldlux
