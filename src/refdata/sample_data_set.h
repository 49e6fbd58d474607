// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QString>
#include <vector>

namespace meldlux {

// A small, consistent data set of a fictitious district ("Musterstadt") in both server products'
// formats, for demos, the decoder simulator and end-to-end tests.
struct SampleVehicle {
  QString identifier; // FMS identifier, first digit the BOS digit
  QString name;
  QString info;
};
struct SampleFiveTone {
  QString code;
  QString name;
};
struct SamplePager {
  int ric;
  QChar function; // "A" to "D"
  QString name;
};
struct SamplePlace {
  int number;
  QString name;
};
struct SampleCodedPlace {
  QString key; // "&TRN" + 8 hex digits + "E" + 8 hex digits
  QString name;
};

struct SampleDataSet {
  std::vector<SampleVehicle> vehicles;
  std::vector<SampleFiveTone> fiveTones;
  std::vector<SamplePager> pagers;
  std::vector<SamplePlace> followUpPlaces;
  std::vector<SampleCodedPlace> places;
  QString separator;
  std::vector<std::pair<QString, QString>> replacements;
  // Per status 0..15: the vehicle texts (direction 0) and the control-centre texts (direction 1).
  std::vector<QString> vehicleStatusTexts;
  std::vector<QString> controlStatusTexts;

  static SampleDataSet standard();
  // The standard set, every table then filled up with made-up entries to the most the server
  // products hold: 2000 vehicles, 2500 five-tone codes, 2000 pager receivers, follow-up places 1
  // to 100, 9500 places and 500 replacement pairs. For load and start-up measurements.
  static SampleDataSet maximum();

  // Writes "StatusF.DAT", "StatusL.DAT", "Folgetlg.DAT", "Fahrzeug.Dat", "Ton5.dat",
  // "POCSAG.DAT", "Settings/BOSList.wbr", "Settings/ClientList.wbr",
  // "Settings/FahrzeugMelder.wbr", "Orte.txt" and "Ersetzen.txt" into dir. Throws Failure when a
  // file cannot be written.
  void write(const QDir& dir) const;
};

} // namespace meldlux
