// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/vehicle_table.h"

#include "base/failure.h"
#include "base/table_index.h"

#include <cstring>

namespace meldlux {

std::size_t VehicleTable::KeyHash::operator()(const Key& key) const noexcept {
  std::uint64_t h = key.low * 0x9E3779B97F4A7C15ull;
  h ^= key.high + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  return std::size_t(h ^ (h >> 29));
}

VehicleTable::Key VehicleTable::keyOf(QStringView identifier) {
  static_assert(sizeof(char16_t) * 8 == sizeof(Key));
  std::uint64_t words[2];
  std::memcpy(words, identifier.utf16(), sizeof(words));
  return Key{words[0], words[1]};
}

std::size_t VehicleTable::checked(int index) const {
  return checkedIndex(index, records_.size());
}

void VehicleTable::resize(int upperBound) {
  if (upperBound < 0)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(upperBound));
  records_.resize(std::size_t(upperBound) + 1);
  indexValid_ = false;
}

void VehicleTable::clear(int from, int to) {
  for (int i = from; i <= to; ++i)
    records_[checked(i)] = VehicleRecord{};
  indexValid_ = false;
}

const VehicleRecord& VehicleTable::at(int index) const { return records_[checked(index)]; }

void VehicleTable::set(int index, const VehicleRecord& record) {
  records_[checked(index)] = record;
  indexValid_ = false;
}

void VehicleTable::setName(int index, QStringView name) {
  records_[checked(index)].name.store(name);
}

void VehicleTable::rebuildIndex() const {
  index_.clear();
  index_.reserve(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i)
    index_.try_emplace(keyOf(records_[i].identifier.view()), int(i)); // keeps the first
  indexValid_ = true;
}

std::int16_t VehicleTable::FindVehicle(QStringView identifier) const {
  if (identifier.size() != FixedText<8>::kWidth)
    return 0;
  if (!indexValid_)
    rebuildIndex();
  const auto found = index_.find(keyOf(identifier));
  return found == index_.end() ? 0 : asIndex16(std::size_t(found->second));
}

std::int16_t VehicleTable::findVehicleByScan(QStringView identifier) const {
  for (std::size_t i = 0; i < records_.size(); ++i)
    if (records_[i].identifier.equals(identifier))
      return asIndex16(i);
  return 0;
}

} // namespace meldlux
