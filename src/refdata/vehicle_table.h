// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/fixed_text.h"

#include <QByteArray>
#include <QStringView>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace meldlux {

struct VehicleRecord {
  FixedText<8> identifier;
  FixedText<30> name;
  FixedText<50> info;
  // The rest of a "Fahrzeug.Dat" record (offset 88 on), carried along unread; empty means
  // zero-filled.
  QByteArray further;
};

// Vehicles by FMS identifier. Index 0 is never a loaded vehicle: the telegram handlers use its name
// as the scratch name of an unknown vehicle, so only its name may change after loading.
class VehicleTable {
public:
  VehicleTable() { resize(0); }

  int upperBound() const { return int(records_.size()) - 1; }
  // Indices 0 to upperBound afterwards; records that fit are kept, new ones are zero-filled.
  void resize(int upperBound);
  // Zero-fills records from..to (both included).
  void clear(int from, int to);

  // Bounds-checked: an index outside the table throws Failure.
  const VehicleRecord& at(int index) const;
  void set(int index, const VehicleRecord& record);
  void setName(int index, QStringView name);

  // The first record from index 0 upward whose identifier equals the text in all 8 characters,
  // case-sensitive; 0 when none does.
  std::int16_t FindVehicle(QStringView identifier) const;
  // The same answer by a plain scan; kept as the reference the index is checked against.
  std::int16_t findVehicleByScan(QStringView identifier) const;

private:
  struct Key {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const noexcept;
  };
  static Key keyOf(QStringView identifier);
  std::size_t checked(int index) const;
  void rebuildIndex() const;

  std::vector<VehicleRecord> records_;
  // Identifier -> first index holding it. Identifiers change only while loading, so the index is
  // rebuilt lazily on the first search after a change.
  mutable std::unordered_map<Key, int, KeyHash> index_;
  mutable bool indexValid_ = false;
};

} // namespace meldlux
