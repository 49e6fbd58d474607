// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/follow_up_places.h"

#include "base/failure.h"
#include "base/formats.h"

namespace meldlux {

namespace {

std::size_t checked(int number) {
  if (number < 0 || number >= FollowUpPlaces::kCount)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(number));
  return std::size_t(number);
}

} // namespace

void FollowUpPlaces::preset() {
  for (int i = 0; i < kCount; ++i)
    names_[std::size_t(i)] = formatTwoDigits(i);
}

const QString& FollowUpPlaces::at(int number) const { return names_[checked(number)]; }

void FollowUpPlaces::set(int number, const QString& name) { names_[checked(number)] = name; }

} // namespace meldlux
