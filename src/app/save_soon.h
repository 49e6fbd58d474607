// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/save_settings.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

namespace meldlux {

// Writes the settings a short while after a change, through the same one-write save as at exit,
// so that a power cut loses at most that while. A change is what differs from the last write, or
// from what start-up ended with. The first hint starts the wait and later ones do not prolong it,
// so a stream of hints (a telegram flood laying out the popup) never holds a save back.
class SaveSoon final : public QObject {
  Q_OBJECT
public:
  static constexpr int kDelayMs = 2000;

  SaveSoon(SaveSettings& save, std::function<bool()> mainWindowVisible, QObject* parent = nullptr);

  // Start-up has ended, with the main window shown or not: from now on changes are written.
  void begin(bool mainWindowVisible);
  // Something may have changed.
  void hint();
  // Writes what changed at once, without waiting.
  void now();
  // The save at exit takes over; nothing is written after it.
  void end();

private:
  void check();

  SaveSettings& save_;
  std::function<bool()> mainWindowVisible_;
  QTimer timer_;
  std::vector<SettingsStore::Entry> last_;
  bool active_ = false;
};

} // namespace meldlux
