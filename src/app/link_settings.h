// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

class SettingsStore;

// The link's keys of our own, in a section of their own:
// [Verbindung] CarrySplitLines=1|0 (default 0: each received block is split on its own).
struct LinkSettings {
  bool carrySplitLines = false;
};

// Anything but "1" is off.
LinkSettings readLinkSettings(const SettingsStore& store);

} // namespace meldlux
