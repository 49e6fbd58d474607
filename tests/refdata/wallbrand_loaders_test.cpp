// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata_fixture.h"

#include "base/failure.h"
#include "refdata/reference_tables.h"
#include "refdata/wallbrand_loaders.h"

#include <QFile>
#include <tuple>

using namespace meldlux;
using namespace meldlux::testing;

namespace {
// Each list is written under its name in the data folder and asked for as the program asks.
class WallbrandLoaders : public RefdataFixture {
protected:
  int statusTexts(const QStringList& lines) {
    writeLines("Settings/BOSList.wbr", lines);
    return LoadWallbrandStatusTexts(env, "Settings\\BOSList.wbr", status);
  }
  int clientList(const QStringList& lines) {
    writeLines("Settings/ClientList.wbr", lines);
    return LoadWallbrandClientList(env, "Settings\\ClientList.wbr", places, status);
  }
  int loadVehicles() {
    return LoadWallbrandVehicles(env, "Settings\\Fahrzeugmelder.wbr", vehicles);
  }
  int receivers() {
    return LoadWallbrandReceivers(env, "Settings\\FahrzeugMelder.wbr", tables.fiveTones,
                                  tables.pocsag);
  }

  FollowUpPlaces places;
  VehicleTable vehicles;
  ReferenceTables tables;
};

QString name30(const VehicleTable& table, int i) { return table.at(i).name.text().trimmed(); }
} // namespace

TEST(SkipThreeWords, DropsUpToThreeBlankSeparatedWords) {
  EXPECT_EQ(wallbrand::skipThreeWords(u"a b c Name x"), u"Name x");
  EXPECT_EQ(wallbrand::skipThreeWords(u"a  b Name"), u"Name"); // an empty word counts
  EXPECT_EQ(wallbrand::skipThreeWords(u"a b"), u"b");
  EXPECT_EQ(wallbrand::skipThreeWords(u"solo"), u"solo");
  EXPECT_EQ(wallbrand::skipThreeWords(u"a\tb c d"), u"d");
}

TEST_F(WallbrandLoaders, BosListFillsVehicleDirectionFromLst) {
  status.text(2, 1, 0) = "Standard";
  EXPECT_EQ(
      statusTexts({"# Kommentar", "LST1: Frei", "LST1: Einsatz ", "KFZ12:Sprechaufforderung"}), 3);
  EXPECT_EQ(status.text(0, 1, 0), u"Frei");
  EXPECT_EQ(status.text(1, 1, 0), u"Einsatz");
  EXPECT_EQ(status.text(2, 1, 0), u"Standard");
  EXPECT_EQ(status.text(0, 12, 1), u"Sprechaufforderung");
  EXPECT_EQ(notices, QStringList{"Wallbrand Statustexte geladen."});
}

TEST_F(WallbrandLoaders, BosListBadOrganisationOrTwentiethTextFails) {
  EXPECT_THROW(statusTexts({"LST16 x"}), Failure);
  EXPECT_THROW(statusTexts({"LST-1 x"}), Failure);
  QStringList lines;
  for (int i = 0; i < 20; ++i)
    lines << QStringLiteral("KFZ3: Text %1").arg(i);
  EXPECT_THROW(statusTexts(lines), Failure);
  EXPECT_EQ(status.text(18, 3, 1), u"Text 18"); // the 19 before it are stored
  EXPECT_TRUE(notices.isEmpty());
}

TEST_F(WallbrandLoaders, BosListTagOnlyLinesAndOtherCase) {
  EXPECT_EQ(statusTexts({"LST", "lst1: klein", "KFZ"}), 2);
  EXPECT_EQ(status.text(0, 0, 0), u"");
  EXPECT_EQ(status.text(0, 0, 1), u"");
  ASSERT_EQ(diagnostics.skips.size(), 1u);
  EXPECT_EQ(diagnostics.skips[0].number, 2);
}

TEST_F(WallbrandLoaders, ClientListPlacesAndColours) {
  QStringList lines{
      "FOLGEORT:5 Rathaus Nord", "FOLGEORT:150 Weit",    "FOLGEORT:7",
      "FOLGEORT: 9  Doppelt ",   "STATUSFARBE: 255 0 0", "STATUSFARBE: 1 2",
      "STATUSFARBE: 0  255 0",   "STATUSFARBE:9 9 9"} /* read from position 14: two parts */;
  for (int k = 1; k <= 11; ++k)
    lines << QStringLiteral("STATUSFARBE: %1 0 0 ").arg(k);
  status.colour(10) = 4242;
  EXPECT_EQ(clientList(lines), 2);
  EXPECT_EQ(places.at(5), u"Rathaus Nord");
  EXPECT_EQ(places.at(9), u" Doppelt"); // after the first blank, not trimmed again
  EXPECT_EQ(places.at(7), u"07");
  for (const auto& [index, colour] :
       {std::pair{0, 255}, {1, 1}, {9, 9}, {10, 4242}, {16, 10}, {17, 10}, {11, 11}})
    EXPECT_EQ(status.colour(index), colour) << index;
  EXPECT_EQ(notices, QStringList{"2 Folgeorte (Wallbrand) geladen."});
}

TEST_F(WallbrandLoaders, ClientListNineteenthColourLineSetsTheInformationColour) {
  QStringList lines;
  for (int k = 0; k < 18; ++k)
    lines << QStringLiteral("STATUSFARBE: %1 0 0").arg(k);
  lines << "STATUSFARBE: 1 2"
        << "STATUSFARBE: 0 0 255"; // the nineteenth usable line
  EXPECT_EQ(clientList(lines), 0);
  EXPECT_EQ(status.colour(10), 0);  // never from this file
  EXPECT_EQ(status.colour(16), 16); // the seventeenth line overwrites the eleventh's alarm colour
  EXPECT_EQ(status.colour(17), 17);
  EXPECT_EQ(status.colour(18), 16711680);
}

TEST_F(WallbrandLoaders, ClientListFailures) {
  // A negative place, a twentieth colour line, a colour part beyond a byte.
  for (const QStringList& lines :
       {QStringList{"FOLGEORT:-3 Minus"}, QStringList(20, "STATUSFARBE: 1 1 1"),
        QStringList{"STATUSFARBE: 0 0 99999"}})
    EXPECT_THROW(clientList(lines), Failure) << lines.first().toStdString();
}

TEST_F(WallbrandLoaders, VehicleLines) {
  writeLines("Settings/FahrzeugMelder.wbr",
             {"KFZ 6123ABCD a b c RTW 1 # Reserve", "KFZ 6123ABCDx a b c falsch",
              "KFZ\t6123ABCD a b c Tab", "KFZ 91234567 a b c HLF 20", "FME 12345 a b c Wehr",
              "KFZ 9ABCDEF0 a b c #X", "KFZ 9ABCDEF1 a b c AB#CD", "KFZ 9ABCDEF2 x"});
  VehicleTable& table = vehicles;
  EXPECT_EQ(loadVehicles(), 5);
  EXPECT_EQ(table.upperBound(), 2000);
  EXPECT_EQ(table.FindVehicle(u"6123ABCD"), 1);
  EXPECT_EQ(table.at(1).name.text(), QStringLiteral("RTW 1").leftJustified(30));
  EXPECT_EQ(table.at(1).info.text(), QStringLiteral("Reserve").leftJustified(50));
  EXPECT_EQ(name30(table, 2), u"HLF 20");
  EXPECT_EQ(table.at(2).info, FixedText<50>());
  EXPECT_EQ(name30(table, 3), u"#X"); // "#" at position 1: the whole rest
  EXPECT_EQ(name30(table, 4), u"AB"); // "#" at position 3: name only
  EXPECT_EQ(table.at(4).info, FixedText<50>());
  EXPECT_EQ(name30(table, 5), u"x");
  EXPECT_EQ(notices, QStringList{"5 Fahrzeuge (Wallbrand) geladen."});
  EXPECT_EQ(diagnostics.skips.size(), 2u); // no blank at 13; tab after the tag
}

TEST_F(WallbrandLoaders, VehicleTableGrowsInStepsOfHundred) {
  QStringList lines;
  for (int i = 0; i < 2050; ++i)
    lines << QStringLiteral("KFZ 6%1 a b c Fahrzeug %2").arg(i, 7, 10, QChar(u'0')).arg(i);
  writeLines("Settings/FahrzeugMelder.wbr", lines);
  EXPECT_EQ(loadVehicles(), 2050);
  EXPECT_EQ(vehicles.upperBound(), 2100);
  EXPECT_EQ(vehicles.FindVehicle(u"60002049"), 2050);
}

TEST_F(WallbrandLoaders, AbsentVehicleListResetsTableOnlyAndBothSpellingsOpenTheOneFile) {
  EXPECT_EQ(loadVehicles(), 0);
  EXPECT_EQ(vehicles.upperBound(), 2000);
  EXPECT_TRUE(notices.isEmpty());
  writeLines("settings/FahrzeugMelder.wbr", {"KFZ 6123ABCD a b c RTW", "FME 12345 a b c Wehr"});
  EXPECT_EQ(loadVehicles(), 1);
  EXPECT_EQ(receivers(), 1);
  // Without pagers only the five-tone notice is posted.
  EXPECT_EQ(notices,
            (QStringList{"1 Fahrzeuge (Wallbrand) geladen.", "1 Melder FME (Wallbrand) geladen."}));
  EXPECT_EQ(tables.pocsag.upperBound(), 50);
  // A reload keeps nothing of the list before, its first vehicle included.
  writeLines("settings/FahrzeugMelder.wbr", {"FME 12345 a b c Wehr"});
  EXPECT_EQ(loadVehicles(), 0);
  EXPECT_EQ(vehicles.FindVehicle(u"6123ABCD"), 0);
}

TEST_F(WallbrandLoaders, ReceiverLines) {
  writeLines("Settings/FahrzeugMelder.wbr",
             {"FME 12345 a b c Wehr Nord # Sirene", "FME 1234567C x y z Zug 3 #Info",
              "FME 1234567 x y z Alle", "FME ABC4567D x y z Buchstaben", "FME 7654321 Name",
              "FME 76543218", "FME 7654321x a b c Fremd", "FME 12346 a b c Wehr Süd",
              "FME12345 kein Blank", "KFZ 6123ABCD a b c RTW"});
  EXPECT_EQ(receivers(), 2);
  EXPECT_EQ(tables.fiveTones.at(1).code.text(), u"12345");
  EXPECT_EQ(tables.fiveTones.at(1).name.text().trimmed(), u"Wehr Nord Sirene");
  EXPECT_EQ(tables.fiveTones.at(2).name.text().trimmed(), u"Wehr Süd");
  const PocsagTable& p = tables.pocsag;
  EXPECT_EQ(p.upperBound(), 7);
  // Record, RIC and sub-address of each pager line.
  const std::tuple<int, int, int> pagers[] = {
      {1, 1234567, 3}, {2, 1234567, 1}, {3, 0, 1}, {5, 7654321, 8}, {6, 7654321, 0}};
  for (const auto& [record, ric, subAddress] : pagers) {
    EXPECT_EQ(p.at(record).ric, ric) << record;
    EXPECT_EQ(p.at(record).subAddress, subAddress) << record;
  }
  EXPECT_EQ(p.at(1).name.text().trimmed(), u"Zug 3 Info");
  EXPECT_EQ(p.at(4).name.text().trimmed(), u"ame"); // no words before the name: b + 6 loses "N"
  EXPECT_EQ(p.FindPocsag(u"1234567", 3), 1);
  EXPECT_EQ(notices, (QStringList{"2 Melder FME (Wallbrand) geladen.",
                                  "6 Melder DME (Wallbrand) geladen."}));
}

TEST_F(WallbrandLoaders, MoreThan2500FiveTonesStopsWithZero) {
  QStringList lines{"FME 1000001A a b c Pager vorher"};
  for (int i = 0; i < 2501; ++i)
    lines << QStringLiteral("FME %1 a b c Melder").arg(10000 + i);
  lines << "FME 1000002B a b c Pager danach";
  writeLines("Settings/FahrzeugMelder.wbr", lines);
  EXPECT_EQ(receivers(), 0);
  EXPECT_EQ(tables.fiveTones.FindFiveTone(u"12499"), 2500);
  EXPECT_EQ(tables.pocsag.upperBound(), 2);
  EXPECT_EQ(tables.pocsag.at(1).ric, 1000001);
  EXPECT_TRUE(notices.isEmpty());
}

TEST_F(WallbrandLoaders, FileWithoutLineEndsIsCutNotHeld) {
  // 200 MB of NULs without a line end: one line, cut, nothing loaded, memory stays small.
  QFile file(dir.filePath("Settings/FahrzeugMelder.wbr"));
  QDir(dir.path()).mkpath("Settings");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(file.resize(200LL * 1024 * 1024));
  file.close();
  EXPECT_EQ(loadVehicles(), 0);
  ASSERT_EQ(diagnostics.skips.size(), 1u);
  EXPECT_EQ(diagnostics.skips[0].number, 1);
}
