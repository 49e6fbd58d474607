// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/utf8_console.h"

namespace meldlux {

Utf8Console::Utf8Console(bool) {}

Utf8Console::~Utf8Console() = default;

} // namespace meldlux
