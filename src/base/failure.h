// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

namespace meldlux {

// A run-time error met by a rule (bad identifier, number that does not fit, unreadable date).
// It is caught where the rules say: per received line, per timer tick, in the start-up trap.
class Failure : public std::runtime_error {
public:
  explicit Failure(const QString& description)
      : std::runtime_error(description.toStdString()), description_(description) {}

  const QString& description() const { return description_; }

private:
  QString description_;
};

} // namespace meldlux
