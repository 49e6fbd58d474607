// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata_fixture.h"

#include "app/load_reference_data.h"
#include "base/failure.h"
#include "refdata/zentrix_records.h"

using namespace meldlux;
using namespace meldlux::testing;

namespace {

class StartupReferenceData : public RefdataFixture {
protected:
  StartupReferenceData() {
    loaders.LoadPlaces = [this](const QString& path) {
      calls << "Orte:" + QFileInfo(path).fileName();
      return std::int16_t(0);
    };
    loaders.LoadReplacements = [this](const QString& path) {
      calls << "Ersetzen:" + QFileInfo(path).fileName();
      return std::int16_t(0);
    };
  }
  QStringList files() const {
    QStringList out;
    for (const auto& entry : report.entries)
      out << entry.file + "=" + QString::number(entry.result);
    return out;
  }

  ReferenceTables tables;
  PlaceFileLoaders loaders;
  ReferenceDataReport report;
  QStringList calls;
};

QByteArray statusFile(const QString& prefix) {
  QByteArray bytes;
  for (int k = 0; k < 256; ++k)
    bytes += zentrix::writeStatusText(prefix + QString::number(k));
  return bytes;
}

} // namespace

TEST_F(StartupReferenceData, StatusLFirstThenStatusFAndEitherOneSkipsBosList) {
  write("StatusF.DAT", statusFile("F"));
  writeLines("Settings/BOSList.wbr", {"LST0: Wallbrand"});
  LoadReferenceData(env, tables, status, loaders, &report);
  EXPECT_EQ(status.text(0, 0, 0), u"F0");
  // BOSList not read.
  EXPECT_EQ(files().mid(0, 3), (QStringList{"StatusL.DAT=0", "StatusF.DAT=16", "Folgetlg.DAT=0"}));
  write("StatusL.DAT", statusFile("L"));
  notices.clear();
  LoadReferenceData(env, tables, status, loaders, &report);
  EXPECT_EQ(status.text(1, 0, 1), u"L1");
  EXPECT_EQ(status.text(1, 0, 0), u"F1");
  EXPECT_EQ(notices.first(), u"Zentrix Statustexte geladen.");
}

TEST_F(StartupReferenceData, StatusLAloneIsEnoughToSkipBosList) {
  write("StatusL.DAT", statusFile("L"));
  writeLines("Settings/BOSList.wbr", {"LST0: Wallbrand", "KFZ0: Wallbrand"});
  LoadReferenceData(env, tables, status, loaders, &report);
  EXPECT_EQ(files().mid(0, 3), (QStringList{"StatusL.DAT=16", "StatusF.DAT=0", "Folgetlg.DAT=0"}));
  EXPECT_EQ(status.text(0, 3, 1), u"L48");
  EXPECT_EQ(status.text(0, 0, 0), QString()); // not from BOSList
  EXPECT_EQ(notices.first(), u"Zentrix Statustexte geladen.");
}

TEST_F(StartupReferenceData, WithBothVehicleFilesOnlyFahrzeugDatIsRead) {
  VehicleRecord record;
  record.identifier.store(u"61234567");
  record.name.store(u"Zentrix RTW");
  write("Fahrzeug.Dat", zentrix::writeVehicle(record));
  writeLines("Settings/FahrzeugMelder.wbr",
             {"KFZ 6123ABCD a b c Wallbrand", "FME 12345 a b c Wehr"});
  LoadReferenceData(env, tables, status, loaders, &report);
  EXPECT_TRUE(files().contains(u"Fahrzeug.Dat=1"));
  EXPECT_TRUE(files().filter(QStringLiteral("Fahrzeugmelder")).isEmpty()); // the vehicle lines
  EXPECT_EQ(tables.vehicles.FindVehicle(u"61234567"), 1);
  EXPECT_EQ(tables.vehicles.FindVehicle(u"6123ABCD"), 0);
  EXPECT_EQ(tables.vehicles.upperBound(), 11);           // the Zentrix size, not the Wallbrand one
  EXPECT_EQ(tables.fiveTones.FindFiveTone(u"12345"), 1); // the receivers still come from it
}

TEST_F(StartupReferenceData, FallsBackTableByTable) {
  write("Fahrzeug.Dat", QByteArray(1000, 'x'));
  write("Folgetlg.DAT", zentrix::writeFollowUp(3, u"Wache"));
  writeLines("Settings/ClientList.wbr", {"FOLGEORT:4 Nicht gelesen"});
  QStringList list{"KFZ 6123ABCD a b c RTW 1", "FME 12345 a b c Wehr"};
  for (int p = 0; p < 80; ++p)
    list << QStringLiteral("FME %1A a b c DME %2").arg(1000000 + p).arg(p);
  writeLines("Settings/FahrzeugMelder.wbr", list);
  writeLines("Settings/BOSList.wbr", {"LST0: Frei"});
  LoadReferenceData(env, tables, status, loaders, &report);
  EXPECT_EQ(files(),
            (QStringList{"StatusL.DAT=0", "StatusF.DAT=0", "Settings\\BOSList.wbr=1",
                         "Folgetlg.DAT=1", "Fahrzeug.Dat=0", "Settings\\Fahrzeugmelder.wbr=1",
                         "Ton5.dat=0", "Settings\\FahrzeugMelder.wbr=1", "POCSAG.DAT=0",
                         "Orte.txt=0", "Ersetzen.txt=0"}));
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(status.text(0, 0, 0), u"Frei");
  EXPECT_EQ(tables.followUpPlaces.at(3), u"Wache");
  EXPECT_EQ(tables.followUpPlaces.at(4), u"04");
  EXPECT_EQ(tables.vehicles.FindVehicle(u"6123ABCD"), 1);
  EXPECT_EQ(tables.fiveTones.FindFiveTone(u"12345"), 1);
  // No "POCSAG.DAT": all 80 pagers of the list stay.
  EXPECT_EQ(tables.pocsag.upperBound(), 81);
  EXPECT_EQ(tables.pocsag.FindPocsag(u"1000079", 1), 80);
  EXPECT_EQ(calls, (QStringList{"Orte:Orte.txt", "Ersetzen:Ersetzen.txt"}));
}

TEST_F(StartupReferenceData, PlaceListsAreFoundInAnyCase) {
  writeLines("orte.TXT", {"&TRN12345678E12345678;Rathaus"});
  LoadReferenceData(env, tables, status, loaders, &report);
  // Where the file system ignores case (Windows) the name may come back as asked.
  EXPECT_EQ(calls.first().toLower(), u"orte:orte.txt");
}

TEST_F(StartupReferenceData, FailureStopsLaterLoaders) {
  write("Folgetlg.DAT", zentrix::writeFollowUp(-5, u"Minus"));
  writeLines("Settings/FahrzeugMelder.wbr", {"KFZ 6123ABCD a b c RTW 1"});
  EXPECT_THROW(LoadReferenceData(env, tables, status, loaders, &report), Failure);
  EXPECT_EQ(tables.vehicles.FindVehicle(u"6123ABCD"), 0);
  EXPECT_TRUE(calls.isEmpty());
}
