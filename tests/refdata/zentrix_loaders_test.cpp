// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata_fixture.h"

#include "base/failure.h"
#include "refdata/reference_tables.h"
#include "refdata/zentrix_loaders.h"
#include "refdata/zentrix_records.h"

#include <QFile>

using namespace meldlux;
using namespace meldlux::testing;

namespace {

QByteArray fiveTones(int count) {
  QByteArray bytes;
  for (int i = 1; i <= count; ++i)
    bytes += zentrix::writeFiveTone({FixedText<5>(QString::number(10000 + i)),
                                     FixedText<50>(QStringLiteral("Melder %1").arg(i))});
  return bytes;
}

QByteArray vehicles(int count) {
  QByteArray bytes;
  for (int i = 1; i <= count; ++i) {
    VehicleRecord record;
    record.identifier.store(QStringLiteral("6%1").arg(i, 7, 10, QChar(u'0')));
    record.name.store(QStringLiteral("Florian %1").arg(i));
    record.info.store(u"Bemerkung");
    record.further = QByteArray(515 - 88, char(i));
    bytes += zentrix::writeVehicle(record);
  }
  return bytes;
}

QByteArray pagers(int count) {
  QByteArray bytes;
  for (int i = 1; i <= count; ++i) {
    PocsagRecord record;
    record.ric = 1000000 + i;
    record.subAddress = 1 + i % 4;
    record.name.store(QStringLiteral("Pager %1").arg(i));
    bytes += zentrix::writePocsag(record);
  }
  return bytes;
}

using ZentrixLoaders = RefdataFixture;

} // namespace

TEST(ZentrixRecords, RoundTripKeepsFieldsAndFurtherBytes) {
  VehicleRecord vehicle;
  vehicle.identifier.store(u"6123ABCD");
  vehicle.name.store(u"Löschzug Süd");
  vehicle.info.store(u"Ä€");
  vehicle.further = QByteArray(427, '\x7f');
  const QByteArray bytes = zentrix::writeVehicle(vehicle);
  ASSERT_EQ(bytes.size(), 515);
  EXPECT_EQ(bytes.mid(8, 4), QByteArray("L\xf6sc"));
  const VehicleRecord back = zentrix::readVehicle(bytes);
  EXPECT_EQ(back.identifier, vehicle.identifier);
  EXPECT_EQ(back.name, vehicle.name);
  EXPECT_EQ(back.info, vehicle.info);
  EXPECT_EQ(back.further, vehicle.further);

  PocsagRecord pager;
  pager.ric = -2;
  pager.subAddress = 0x01020304;
  const QByteArray pagerBytes = zentrix::writePocsag(pager);
  EXPECT_EQ(pagerBytes.left(8), QByteArray("\xfe\xff\xff\xff\x04\x03\x02\x01", 8));
  EXPECT_EQ(zentrix::readPocsag(pagerBytes).ric, -2);
  EXPECT_THROW(zentrix::readPocsag(pagerBytes.left(580)), Failure);
}

TEST_F(ZentrixLoaders, FiveToneRecordsNoticeOnlyWithPopupAndRecordsAboveTheFileStay) {
  write("Ton5.dat", fiveTones(3));
  FiveToneTable table;
  table.set(5, {FixedText<5>(u"55555"), FixedText<50>(u"alt")});
  EXPECT_EQ(LoadZentrixFiveTones(env, "Ton5.dat", table), 3);
  EXPECT_EQ(table.FindFiveTone(u"10003"), 3);
  EXPECT_EQ(table.at(2).name.text().trimmed(), u"Melder 2");
  EXPECT_EQ(table.FindFiveTone(u"55555"), 5);
  EXPECT_EQ(notices, QStringList{"3 Melder (Zentrix) geladen."});
  options.setChecked(Check::chkMsgAktiv, false);
  EXPECT_EQ(LoadZentrixFiveTones(env, "Ton5.dat", table), 3);
  EXPECT_EQ(notices.size(), 1);
}

TEST_F(ZentrixLoaders, ThreeThousandFiveToneRecordsFillTwentyFiveHundred) {
  write("Ton5.dat", fiveTones(3000));
  FiveToneTable table;
  EXPECT_EQ(LoadZentrixFiveTones(env, "Ton5.dat", table), 2500);
  EXPECT_EQ(table.FindFiveTone(u"12500"), 2500);
  EXPECT_EQ(table.FindFiveTone(u"12501"), 0);
  EXPECT_EQ(notices, QStringList{"2500 Melder (Zentrix) geladen."});
  ASSERT_EQ(diagnostics.skips.size(), 1u);
  EXPECT_EQ(diagnostics.skips[0].number, 2501);
}

TEST_F(ZentrixLoaders, FiveToneFileOfWrongLengthShowsBoxAndKeepsTable) {
  write("Ton5.dat", fiveTones(2) + "x");
  FiveToneTable table;
  table.set(1, {FixedText<5>(u"99999"), FixedText<50>(u"alt")});
  EXPECT_EQ(LoadZentrixFiveTones(env, "Ton5.dat", table), 0);
  expectOneBox(u"5Ton Empfänger Laden"_qs, u"Ton5.dat ist Keine gültige 5Ton-Datei!"_qs);
  EXPECT_EQ(table.FindFiveTone(u"99999"), 1);
  EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ZentrixLoaders, AbsentOrBadVehicleFileResetsTheTable) {
  VehicleTable table;
  table.resize(300);
  // Old records at both ends of what stays: all of them go.
  for (const auto& [index, identifier] :
       {std::pair{1, u"6123ABC1"}, {50, u"6123ABCD"}, {100, u"6123AB99"}}) {
    VehicleRecord old;
    old.identifier.store(identifier);
    table.set(index, old);
  }
  EXPECT_EQ(LoadZentrixVehicles(env, "Fahrzeug.Dat", table), 0);
  EXPECT_EQ(table.upperBound(), 100);
  for (const char16_t* identifier : {u"6123ABC1", u"6123ABCD", u"6123AB99"})
    EXPECT_EQ(table.FindVehicle(identifier), 0) << QString::fromUtf16(identifier).toStdString();
  EXPECT_TRUE(boxes.shown.empty());
  write("Fahrzeug.Dat", QByteArray(1000, 'A'));
  table.resize(500);
  EXPECT_EQ(LoadZentrixVehicles(env, "Fahrzeug.Dat", table), 0);
  EXPECT_EQ(table.upperBound(), 100);
  expectOneBox(u"Fahrzeuge Laden"_qs, u"Keine gültige Fahrzeug DAT-Datei!"_qs,
               MessageBoxes::Icon::Error);
}

TEST_F(ZentrixLoaders, VehiclesSizedToCountPlusTen) {
  write("Fahrzeug.Dat", vehicles(25));
  VehicleTable table;
  EXPECT_EQ(LoadZentrixVehicles(env, "fahrzeug.dat", table), 25);
  EXPECT_EQ(table.upperBound(), 35);
  EXPECT_EQ(table.FindVehicle(u"60000025"), 25);
  EXPECT_EQ(table.at(25).further, QByteArray(427, char(25)));
  EXPECT_EQ(table.at(26).identifier, FixedText<8>());
  EXPECT_EQ(notices, QStringList{"25 Fahrzeuge (Zentrix) geladen."});
}

TEST_F(ZentrixLoaders, EmptyFilesGiveZeroWithoutMessages) {
  for (const char* name : {"Fahrzeug.Dat", "Ton5.dat", "POCSAG.DAT", "Folgetlg.DAT"})
    write(name, {});
  ReferenceTables tables;
  EXPECT_EQ(LoadZentrixVehicles(env, "Fahrzeug.Dat", tables.vehicles), 0);
  EXPECT_EQ(LoadZentrixFiveTones(env, "Ton5.dat", tables.fiveTones), 0);
  EXPECT_EQ(LoadZentrixPocsag(env, "POCSAG.DAT", tables.pocsag), 0);
  EXPECT_EQ(LoadZentrixFollowUpPlaces(env, "Folgetlg.DAT", tables.followUpPlaces), 0);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ZentrixLoaders, FollowUpPlacesNulPaddedAndNumberAboveHundred) {
  write("Folgetlg.DAT", zentrix::writeFollowUp(7, u"Rathaus", '\0') +
                            zentrix::writeFollowUp(150, u"Fern", ' ') +
                            zentrix::writeFollowUp(8, u"  Markt  ", ' ') +
                            zentrix::writeFollowUp(3, u"Wache ", '\0'));
  FollowUpPlaces places;
  EXPECT_EQ(LoadZentrixFollowUpPlaces(env, "Folgetlg.DAT", places), 4);
  EXPECT_EQ(places.at(7), u"Rathaus");
  EXPECT_EQ(places.at(8), u"Markt");
  EXPECT_EQ(places.at(3), u"Wache "); // blanks are trimmed before the NULs go
  EXPECT_EQ(places.at(9), u"09");
  EXPECT_EQ(notices, QStringList{"4 Folgeorte (Zentrix) geladen."});
  ASSERT_EQ(diagnostics.skips.size(), 1u);
  EXPECT_EQ(diagnostics.skips[0].number, 2);
}

TEST_F(ZentrixLoaders, FollowUpFileOfWrongLengthIsSilentANegativeNumberFails) {
  write("Folgetlg.DAT", zentrix::writeFollowUp(7, u"Rathaus") + "x");
  FollowUpPlaces places;
  EXPECT_EQ(LoadZentrixFollowUpPlaces(env, "Folgetlg.DAT", places), 0);
  EXPECT_EQ(places.at(7), u"07");
  EXPECT_TRUE(boxes.shown.empty());
  write("Folgetlg.DAT", zentrix::writeFollowUp(4, u"Vorher") + zentrix::writeFollowUp(-1, u"X"));
  EXPECT_THROW(LoadZentrixFollowUpPlaces(env, "Folgetlg.DAT", places), Failure);
  EXPECT_EQ(places.at(4), u"Vorher");
}

TEST_F(ZentrixLoaders, StatusTextsFillOneDirection) {
  QByteArray bytes;
  for (int k = 0; k < 256; ++k)
    bytes += zentrix::writeStatusText(QStringLiteral("  T%1/%2").arg(k / 16).arg(k % 16));
  write("StatusL.DAT", bytes);
  status.text(16, 3, 1) = "unverändert";
  status.text(2, 3, 0) = "Fahrzeugseite";
  EXPECT_EQ(LoadZentrixStatusTexts(env, "StatusL.DAT", status, 1), 16);
  EXPECT_EQ(status.text(2, 3, 1), u"  T3/2"); // only trailing blanks go
  EXPECT_EQ(status.text(15, 15, 1), u"  T15/15");
  EXPECT_EQ(status.text(16, 3, 1), u"unverändert");
  EXPECT_EQ(status.text(2, 3, 0), u"Fahrzeugseite");
  EXPECT_EQ(notices, QStringList{"Zentrix Statustexte geladen."});
}

TEST_F(ZentrixLoaders, ShortStatusFileGivesEmptyTextsAndVehicleSideIsQuiet) {
  write("StatusF.DAT", zentrix::writeStatusText(u"Frei") + QByteArray("Ein"));
  status.text(5, 0, 0) = "alt";
  EXPECT_EQ(LoadZentrixStatusTexts(env, "StatusF.DAT", status, 0), 16);
  EXPECT_EQ(status.text(0, 0, 0), u"Frei");
  EXPECT_EQ(status.text(1, 0, 0), u"Ein");
  EXPECT_EQ(status.text(5, 0, 0), u"");
  EXPECT_TRUE(notices.isEmpty());
  EXPECT_EQ(LoadZentrixStatusTexts(env, "StatusL.DAT", status, 1), 0);
}

TEST_F(ZentrixLoaders, PocsagSizedToCountPlusTenOrKeptWhenTheLengthIsWrong) {
  write("POCSAG.DAT", pagers(20));
  PocsagTable table;
  EXPECT_EQ(LoadZentrixPocsag(env, "POCSAG.DAT", table), 20);
  EXPECT_EQ(table.upperBound(), 30);
  EXPECT_EQ(table.FindPocsag(u"1000007", 4), 7);
  EXPECT_EQ(notices, QStringList{"20 DME (Zentrix) geladen."});
  write("POCSAG.DAT", pagers(2).left(1000));
  table.resize(80);
  EXPECT_EQ(LoadZentrixPocsag(env, "POCSAG.DAT", table), 0);
  EXPECT_EQ(table.upperBound(), 80);
  expectOneBox(u"POCSAG Empfänger Laden"_qs, u"Keine gültige POCSAG-Datei!"_qs);
}

TEST_F(ZentrixLoaders, MessageBoxIsLogged) {
  const QString logPath = dir.filePath("events.log");
  EventLog fileLog(logPath);
  LoaderEnvironment logged(files, options, boxes, fileLog);
  write("POCSAG.DAT", "abc");
  PocsagTable table;
  LoadZentrixPocsag(logged, "POCSAG.DAT", table);
  QFile file(logPath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()),
            u"messagebox\tPOCSAG Empfänger Laden\tKeine gültige POCSAG-Datei!\n");
}

TEST_F(ZentrixLoaders, HugeFilesFailOrAreCappedWithoutBeingRead) {
  // Sparse files: the length alone decides, nothing of 200 MB is read.
  auto sparse = [&](const char* name, qint64 size) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(size));
  };
  sparse("Fahrzeug.Dat", 515LL * 407000);
  sparse("POCSAG.DAT", 581LL * 361000);
  sparse("Folgetlg.DAT", 52LL * 4000000);
  sparse("Ton5.dat", 323LL * 650000);
  ReferenceTables tables;
  EXPECT_THROW(LoadZentrixVehicles(env, "Fahrzeug.Dat", tables.vehicles), Failure);
  EXPECT_LE(tables.vehicles.upperBound(), 100);
  EXPECT_THROW(LoadZentrixPocsag(env, "POCSAG.DAT", tables.pocsag), Failure);
  EXPECT_EQ(tables.pocsag.upperBound(), 50);
  EXPECT_THROW(LoadZentrixFollowUpPlaces(env, "Folgetlg.DAT", tables.followUpPlaces), Failure);
  EXPECT_EQ(LoadZentrixFiveTones(env, "Ton5.dat", tables.fiveTones), 2500);
}
