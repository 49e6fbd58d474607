// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace meldlux {

// The coded places of "Orte.txt": key "&TRN" + 17 characters, value the place name. Rows that
// were never filled hold empty texts; the lookup stops at the first of them.
class PlaceTable {
public:
  static constexpr int kRows = 9501; // rows 0 to 9500
  static constexpr int kLastRow = kRows - 1;

  struct Row {
    QString key;
    QString value;
  };

  // Bounds-checked: a row outside 0..9500 throws Failure.
  const Row& row(int index) const;
  void setRow(int index, const QString& key, const QString& value);
  void clear();

  // Quicksort of rows low..high on the key, ascending by character code; equal keys end up in
  // the order this particular partitioning gives them. The partitions are kept on an explicit
  // stack, so an unlucky key order costs time but never stack depth.
  void SortPlaces(int low, int high);

  // The value of the first row whose key equals the given one, scanning from row 0 and stopping
  // at the first row with an empty key; empty when none.
  QString LookupPlace(QStringView key) const;

  // The count the loader reported.
  std::int16_t PlaceCount = 0;

private:
  void checkRow(int index) const;
  void buildIndex() const;

  std::array<Row, kRows> rows_;
  // Lookup shortcut, rebuilt after any change: first row of each key, and the first empty key.
  mutable QHash<QString, int> firstRowOfKey_;
  mutable int firstEmptyRow_ = 0;
  mutable bool indexValid_ = false;
};

} // namespace meldlux
