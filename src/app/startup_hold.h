// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <initializer_list>
#include <vector>

namespace meldlux {

// Start-up runs to its end before any of the program's timers acts: a loader's message box runs
// a modal loop in which a started timer would fire (Timer1 would connect and handle telegrams
// before the later tables are loaded and the popup is armed). While an instance lives, the
// timers given to it may be started and stopped as usual, but their ticks are swallowed; when it
// ends, every timer still running starts afresh, so its first tick comes one full interval after
// start-up.
class StartupHold : public QObject {
  Q_OBJECT
public:
  explicit StartupHold(std::initializer_list<QTimer*> timers);
  ~StartupHold() override;
  StartupHold(const StartupHold&) = delete;
  StartupHold& operator=(const StartupHold&) = delete;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  std::vector<QPointer<QTimer>> timers_;
};

} // namespace meldlux
