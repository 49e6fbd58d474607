// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

namespace meldlux {

// Follow-up places 0 to 100, chosen by a follow-up place code in a vehicle telegram.
class FollowUpPlaces {
public:
  static constexpr int kCount = 101;

  FollowUpPlaces() { preset(); }
  // Entry i := i with at least two digits ("00" .. "99", "100").
  void preset();
  // Bounds-checked: a number outside 0..100 throws Failure.
  const QString& at(int number) const;
  void set(int number, const QString& name);

private:
  std::array<QString, kCount> names_;
};

} // namespace meldlux
