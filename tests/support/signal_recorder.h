// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <vector>

// Collects the arguments of every emission of one signal with one argument, or counts a signal
// without arguments.
template <typename Arg> class SignalRecorder {
public:
  template <typename Sender, typename Signal> SignalRecorder(Sender* sender, Signal signal) {
    QObject::connect(sender, signal, [this](Arg value) { values.push_back(value); });
  }
  std::size_t count() const { return values.size(); }
  std::vector<Arg> values;
};

class SignalCounter {
public:
  template <typename Sender, typename Signal> SignalCounter(Sender* sender, Signal signal) {
    QObject::connect(sender, signal, [this] { ++count; });
  }
  int count = 0;
};
