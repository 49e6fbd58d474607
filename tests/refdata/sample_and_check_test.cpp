// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata_fixture.h"

#include "app/load_reference_data.h"
#include "app/reference_data_check.h"
#include "refdata/sample_data_set.h"
#include "refdata/zentrix_records.h"

#include <QDirIterator>
#include <QRegularExpression>

using namespace meldlux;
using namespace meldlux::testing;

namespace {

class SampleData : public RefdataFixture {
protected:
  void load() { LoadReferenceData(env, tables, status, {}, &report); }
  // Without the first product's files the second product's lists must give the same values.
  void expectSampleWithoutFirstProduct() {
    for (const char* name :
         {"StatusF.DAT", "StatusL.DAT", "Folgetlg.DAT", "Fahrzeug.Dat", "Ton5.dat", "POCSAG.DAT"})
      ASSERT_TRUE(QFile::remove(dir.filePath(name)));
    tables = ReferenceTables();
    status = StatusTables();
    load();
    expectSampleLoaded();
  }
  // Every sample value can be looked up with its name, whichever product's files were read.
  void expectSampleLoaded() {
    const SampleDataSet sample = SampleDataSet::standard();
    for (const auto& vehicle : sample.vehicles) {
      const int i = tables.vehicles.FindVehicle(vehicle.identifier);
      ASSERT_NE(i, 0) << vehicle.identifier.toStdString();
      EXPECT_EQ(tables.vehicles.at(i).name.text().trimmed(), vehicle.name);
      EXPECT_EQ(tables.vehicles.at(i).info.text().trimmed(), vehicle.info);
    }
    for (const auto& receiver : sample.fiveTones) {
      const int i = tables.fiveTones.FindFiveTone(receiver.code);
      ASSERT_NE(i, 0);
      EXPECT_EQ(tables.fiveTones.at(i).name.text().trimmed(), receiver.name);
    }
    for (const auto& pager : sample.pagers) {
      const int i = tables.pocsag.FindPocsag(QString::number(pager.ric),
                                             std::int16_t(pager.function.unicode() - u'A' + 1));
      ASSERT_NE(i, 0);
      EXPECT_EQ(tables.pocsag.at(i).name.text().trimmed(), pager.name);
    }
    for (const auto& place : sample.followUpPlaces)
      EXPECT_EQ(tables.followUpPlaces.at(place.number), place.name);
    EXPECT_EQ(status.text(3, 9, 0), u"Einsatz übernommen");
    EXPECT_EQ(status.text(6, 6, 1), u"J - Sprechaufforderung");
  }

  ReferenceTables tables;
  ReferenceDataReport report;
};

QString runCheck(const QDir& dir, int& exitCode) {
  QString text;
  QTextStream out(&text);
  exitCode = RunReferenceDataCheck(dir, out);
  return text;
}

} // namespace

TEST_F(SampleData, EitherProductsFilesGiveEveryValue) {
  SampleDataSet::standard().write(QDir(dir.path()));
  load();
  expectSampleLoaded();
  expectSampleWithoutFirstProduct();
  EXPECT_TRUE(diagnostics.skips.empty());
}

TEST_F(SampleData, PlaceKeysHaveTheCodedLayout) {
  for (const SampleDataSet& set : {SampleDataSet::standard(), SampleDataSet::maximum()})
    for (const auto& place : set.places) {
      ASSERT_EQ(place.key.size(), 21) << place.key.toStdString();
      ASSERT_TRUE(place.key.startsWith(u"&TRN")) << place.key.toStdString();
      ASSERT_EQ(place.key[12], u'E') << place.key.toStdString();
    }
}

TEST_F(SampleData, CheckOfSampleReportsNothingSkipped) {
  SampleDataSet::standard().write(QDir(dir.path()));
  int exitCode = -1;
  const QString text = runCheck(QDir(dir.path()), exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(text.contains(u"Fahrzeug.Dat                   28")) << text.toStdString();
  EXPECT_TRUE(text.contains(u"Übersprungen oder abgeschnitten: nichts"));
  EXPECT_TRUE(text.contains(u"Doppelte Schlüssel: keine"));
  EXPECT_TRUE(text.contains(u"Settings\\BOSList.wbr           512"));
}

TEST_F(SampleData, CheckNamesFaultsAndDuplicates) {
  write("Fahrzeug.Dat", QByteArray(1000, 'x'));
  write("Ton5.dat", zentrix::writeFiveTone({FixedText<5>(u"21001"), FixedText<50>(u"A")}) +
                        zentrix::writeFiveTone({FixedText<5>(u"21001"), FixedText<50>(u"B")}));
  writeLines("Settings/FahrzeugMelder.wbr",
             {"KFZ 64124411 1 0 0 HLF", "KFZ\t64124412 1 0 0 Tab", "KFZ 64124411 1 0 0 Zweit",
              "KFZ 6412441  1 0 0 Kurz"});
  writeLines("Orte.txt", {"&TRN0A1B2C01E00C0FFEE;Gut", "&TRN0A1B2C01E00C0FFE;Kurz"});
  writeLines("Ersetzen.txt", {"=", "=ohne", "FW=Feuerwehr"});
  int exitCode = -1;
  const QString text = runCheck(QDir(dir.path()), exitCode);
  EXPECT_EQ(exitCode, 0);
  const QStringList expected{
      "\"Fahrzeuge Laden\" (Fehler): Keine gültige Fahrzeug DAT-Datei!",
      "Fahrzeug.Dat: Länge 1000 Bytes ist kein Vielfaches von 515",
      "Settings\\Fahrzeugmelder.wbr, Zeile 2: Fahrzeugzeile ohne",
      "Orte.txt, Zeile 2:",
      "Ersetzen.txt, Zeile 2: beginnt mit dem Trennzeichen",
      "Fahrzeug 2: Kennung 64124411 schon bei Fahrzeug 1",
      "Fahrzeug 3: Kennung \"6412441 \" hat keine 8 Zeichen",
      "5Ton-Melder 2: Code 21001 schon bei Melder 1",
      "Settings\\Fahrzeugmelder.wbr    3",
  };
  for (const QString& line : expected)
    EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
}

TEST_F(SampleData, CheckSaysWhereStartUpStops) {
  write("Folgetlg.DAT", zentrix::writeFollowUp(-2, u"Minus"));
  int exitCode = -1;
  const QString text = runCheck(QDir(dir.path()), exitCode);
  EXPECT_EQ(exitCode, 1);
  EXPECT_TRUE(text.contains(u"Der Start bricht beim Laden von Folgetlg.DAT ab"))
      << text.toStdString();
  EXPECT_TRUE(text.contains(u"Folgeorte    Folgetlg.DAT                   FEHLER"));
  EXPECT_FALSE(text.contains(u"Fahrzeug.Dat")); // later loaders did not run
}

// The maximum set must reach every table's capacity in both products' files without a skipped
// line or a duplicate key, or the load measurements made with it measure less than they claim.
TEST_F(SampleData, MaximumSetFillsEveryTableInBothProducts) {
  const SampleDataSet maximum = SampleDataSet::maximum();
  EXPECT_EQ(maximum.vehicles.size(), 2000u);
  EXPECT_EQ(maximum.fiveTones.size(), 2500u);
  EXPECT_EQ(maximum.pagers.size(), 2000u);
  EXPECT_EQ(maximum.followUpPlaces.size(), 100u);
  EXPECT_EQ(maximum.places.size(), 9500u);
  EXPECT_EQ(maximum.replacements.size(), 500u); // their key layout: PlaceKeysHaveTheCodedLayout
  maximum.write(QDir(dir.path()));
  const struct {
    const char* file;
    const char* count;
  } firstProduct[] = {{"Folgetlg.DAT", "100"},
                      {"Fahrzeug.Dat", "2000"},
                      {"Ton5.dat", "2500"},
                      {"POCSAG.DAT", "2000"}};
  int exitCode = -1;
  QString text = runCheck(QDir(dir.path()), exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(text.contains(u"Übersprungen oder abgeschnitten: nichts")) << text.toStdString();
  EXPECT_TRUE(text.contains(u"Doppelte Schlüssel: keine")) << text.toStdString();
  for (const auto& [file, count] : firstProduct)
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("%1 +%2\\b").arg(file, count))))
        << file << "\n"
        << text.toStdString();

  // The sample's own names still resolve next to the made-up ones, from either product.
  load();
  expectSampleLoaded();
  EXPECT_EQ(tables.followUpPlaces.at(99), u"Folgeort 99");
  expectSampleWithoutFirstProduct();
  EXPECT_NE(tables.vehicles.FindVehicle(maximum.vehicles.back().identifier), 0);
  EXPECT_NE(tables.fiveTones.FindFiveTone(maximum.fiveTones.back().code), 0);
  const SamplePager& lastPager = maximum.pagers.back();
  EXPECT_NE(tables.pocsag.FindPocsag(QString::number(lastPager.ric),
                                     std::int16_t(lastPager.function.unicode() - u'A' + 1)),
            0);
  EXPECT_TRUE(diagnostics.skips.empty());
}
