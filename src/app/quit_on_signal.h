// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace meldlux {

// Turns SIGTERM and SIGINT into a call on the GUI thread, so a terminated program ends the way
// closing its main window does (settings saved, icon removed, goodbye to the server). The signal
// handler only writes a byte into a pipe; the event loop reads it and calls quit. One instance at
// a time; the previous handlers come back when it is destroyed.
class QuitOnSignal : public QObject {
  Q_OBJECT
public:
  explicit QuitOnSignal(std::function<void()> quit, QObject* parent = nullptr);
  ~QuitOnSignal() override;
  QuitOnSignal(const QuitOnSignal&) = delete;
  QuitOnSignal& operator=(const QuitOnSignal&) = delete;

  // False when the pipe or the handlers could not be set up; the signals then act as before.
  bool active() const { return active_; }

private:
  void readSignal();

  std::function<void()> quit_;
  int fds_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
  bool active_ = false;
};

} // namespace meldlux
