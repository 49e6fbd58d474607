// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/failure.h"
#include "refdata/five_tone_table.h"
#include "refdata/pocsag_table.h"
#include "refdata/vehicle_table.h"

#include <gtest/gtest.h>

#include <random>

using namespace meldlux;

namespace {

VehicleRecord vehicle(QStringView identifier, QStringView name) {
  VehicleRecord record;
  record.identifier.store(identifier);
  record.name.store(name);
  return record;
}

PocsagRecord pager(std::int32_t ric, std::int32_t sub) {
  PocsagRecord record;
  record.ric = ric;
  record.subAddress = sub;
  return record;
}

} // namespace

TEST(VehicleTable, FindsFirstExactMatchOnly) {
  VehicleTable table;
  table.resize(10);
  table.set(1, vehicle(u"6123ABCD", u"RTW 1"));
  table.set(2, vehicle(u"6123ABC", u"kurz")); // stored padded with a blank
  table.set(3, vehicle(u"6123ABCD", u"RTW 1 doppelt"));
  table.set(4, vehicle(u"91234567", u"KTW"));
  // Case-sensitive, and only 8 characters can match.
  const std::pair<const char16_t*, int> cases[] = {
      {u"6123ABCD", 1}, {u"6123abcd", 0}, {u"6123ABC", 0},  {u"6123ABC ", 2},
      {u"91234567", 4}, {u"", 0},         {u"6123ABCDE", 0}};
  for (const auto& [identifier, index] : cases)
    EXPECT_EQ(table.FindVehicle(identifier), index)
        << QStringView(identifier).toString().toStdString();
  // Empty records hold NULs, so record 0 matches first.
  EXPECT_EQ(table.FindVehicle(QString(8, QChar(0))), 0);
}

TEST(VehicleTable, IndexFollowsChangesAndIgnoresScratchName) {
  VehicleTable table;
  table.resize(5);
  table.set(2, vehicle(u"6123ABCD", u"alt"));
  table.set(1, vehicle(u"6123ABCD", u"neu"));
  EXPECT_EQ(table.FindVehicle(u"6123ABCD"), 1);
  table.clear(1, 1);
  EXPECT_EQ(table.FindVehicle(u"6123ABCD"), 2);
  table.setName(0, u"FW 12 34/56");
  EXPECT_EQ(table.at(0).name.text(), QStringLiteral("FW 12 34/56").leftJustified(30));
  EXPECT_EQ(table.FindVehicle(u"6123ABCD"), 2);
  table.resize(1); // record 2 is gone
  EXPECT_EQ(table.FindVehicle(u"6123ABCD"), 0);
}

TEST(VehicleTable, IndexAgreesWithScanOnRandomTables) {
  std::mt19937 random(20240611);
  const char16_t alphabet[] = u"69aAbB ";
  for (int round = 0; round < 20; ++round) {
    VehicleTable table;
    const int size = 1 + int(random() % 300);
    table.resize(size);
    auto randomIdentifier = [&] {
      QString id;
      const int length = 6 + int(random() % 4); // 6..9 characters, most 8
      for (int i = 0; i < length; ++i)
        id += QChar(alphabet[random() % 7]);
      return id;
    };
    for (int i = 1; i <= size; ++i)
      if (random() % 5 != 0)
        table.set(i, vehicle(randomIdentifier(), u"x"));
    for (int probe = 0; probe < 500; ++probe) {
      const QString id = randomIdentifier();
      ASSERT_EQ(table.FindVehicle(id), table.findVehicleByScan(id)) << id.toStdString();
    }
    for (int i = 0; i <= size; ++i) {
      const QString id = table.at(i).identifier.text();
      ASSERT_EQ(table.FindVehicle(id), table.findVehicleByScan(id));
    }
  }
}

TEST(VehicleTable, AccessOutsideTheTableOrAnIndexBeyondSixteenBitsFails) {
  VehicleTable table;
  table.resize(2);
  EXPECT_THROW(table.at(3), Failure);
  EXPECT_THROW(table.at(-1), Failure);
  EXPECT_THROW(table.setName(3, u"x"), Failure);
  EXPECT_THROW(table.clear(0, 3), Failure);
  EXPECT_THROW(table.resize(-1), Failure);
  table.resize(40000);
  table.set(33000, vehicle(u"6123ABCD", u"x"));
  EXPECT_THROW(table.FindVehicle(u"6123ABCD"), Failure);
}

TEST(PocsagTable, StartsWithFiftyEmptyRecordsThatMatchRicZero) {
  PocsagTable table;
  EXPECT_EQ(table.upperBound(), 50);
  EXPECT_THROW(table.at(51), Failure);
  EXPECT_EQ(table.FindPocsag(u"", 1), 50);   // last RIC match
  EXPECT_EQ(table.FindPocsag(u"abc", 0), 0); // exact match at record 0
}

TEST(PocsagTable, ExactMatchElseLastRicMatch) {
  PocsagTable table;
  table.resize(5);
  for (int i = 1; i <= 5; ++i)
    table.set(i, pager(9999999, 9));
  table.set(1, pager(1234567, 1));
  table.set(2, pager(1234567, 2));
  table.set(3, pager(2000000, 1));
  table.set(4, pager(2000000, 1));
  EXPECT_EQ(table.FindPocsag(u"1234567", 3), 2); // last RIC match
  EXPECT_EQ(table.FindPocsag(u"1234567", 1), 1);
  EXPECT_EQ(table.FindPocsag(u"2000000", 1), 3); // first of two exact matches
  EXPECT_EQ(table.FindPocsag(u"7654321", 1), 0);
}

TEST(PocsagTable, RicIsComparedAsRealNumber) {
  PocsagTable table;
  table.resize(3);
  for (int i = 1; i <= 3; ++i)
    table.set(i, pager(5, 5));
  table.set(1, pager(1234567, 1));
  // Not rounded: 1234567.4 is another RIC.
  const std::pair<const char16_t*, int> cases[] = {
      {u" 1234567", 1}, {u"1234567A", 1}, {u"1.234567e6", 1}, {u"1234567.4", 0}, {u"01234567", 1}};
  for (const auto& [ric, index] : cases)
    EXPECT_EQ(table.FindPocsag(ric, 1), index) << QStringView(ric).toString().toStdString();
}

TEST(FiveToneTable, FirstExactMatchFromOne) {
  FiveToneTable table;
  FiveToneRecord record;
  record.code.store(u"12345");
  table.set(7, record);
  table.set(9, record);
  record.code.store(u"1234");
  table.set(3, record);
  EXPECT_EQ(table.FindFiveTone(u"12345"), 7);
  EXPECT_EQ(table.FindFiveTone(u"1234"), 0);
  EXPECT_EQ(table.FindFiveTone(u"1234 "), 3);
  EXPECT_EQ(table.FindFiveTone(QString(5, QChar(0))), 1); // empty records hold NULs
  // Records changed after a lookup are found from then on.
  table.set(2, record);
  EXPECT_EQ(table.FindFiveTone(u"1234 "), 2);
  table.clear();
  EXPECT_EQ(table.FindFiveTone(u"12345"), 0);
  EXPECT_THROW(table.set(2501, record), Failure);
  EXPECT_THROW(table.at(-1), Failure);
}
