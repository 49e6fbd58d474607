// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/sample_data_set.h"

#include "base/cp1252.h"
#include "base/failure.h"
#include "refdata/zentrix_records.h"

#include <QFile>

#include <algorithm>

namespace meldlux {

namespace {

void writeFile(const QDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  if (!QDir().mkpath(QFileInfo(path).path()))
    throw Failure(QStringLiteral("Ordner kann nicht angelegt werden: %1").arg(path));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    throw Failure(QStringLiteral("Datei kann nicht geschrieben werden: %1").arg(path));
}

QByteArray textLines(const QStringList& lines) {
  QString text;
  for (const QString& line : lines)
    text += line + QStringLiteral("\r\n");
  return cp1252::encode(text);
}

int subAddressOf(QChar function) { return function.unicode() - u'A' + 1; }

} // namespace

SampleDataSet SampleDataSet::standard() {
  SampleDataSet set;
  // FMS identifier: BOS digit, state digit, place "12" or "13", vehicle number in four digits.
  set.vehicles = {
      {"64121011", "Florian Musterstadt 1/10-1", "ELW 1"},
      {"64121111", "Florian Musterstadt 1/11-1", "KdoW Wehrführer"},
      {"64124411", "Florian Musterstadt 1/44-1", "HLF 20"},
      {"64124412", "Florian Musterstadt 1/44-2", "HLF 10"},
      {"64123311", "Florian Musterstadt 1/33-1", "DLK 23/12"},
      {"64122311", "Florian Musterstadt 1/23-1", "TLF 4000"},
      {"64125211", "Florian Musterstadt 1/52-1", "RW"},
      {"64121911", "Florian Musterstadt 1/19-1", "MTF"},
      {"64124421", "Florian Musterstadt 2/44-1", "HLF 10, Wache Nord"},
      {"64124821", "Florian Musterstadt 2/48-1", "TSF-W"},
      {"64134731", "Florian Beispieldorf 3/47-1", "TSF-W"},
      {"64131931", "Florian Beispieldorf 3/19-1", "MTF"},
      {"64136431", "Florian Beispieldorf 3/64-1", "GW-L"},
      {"94121071", "Rotkreuz Musterstadt 71/10-1", "ELW SEG"},
      {"94128271", "Rotkreuz Musterstadt 71/82-1", "NEF"},
      {"94128371", "Rotkreuz Musterstadt 71/83-1", "RTW"},
      {"94128372", "Rotkreuz Musterstadt 71/83-2", "RTW"},
      {"94128571", "Rotkreuz Musterstadt 71/85-1", "KTW"},
      {"94128572", "Rotkreuz Musterstadt 71/85-2", "KTW"},
      {"84128372", "Sama Musterstadt 72/83-1", "RTW"},
      {"84128572", "Sama Musterstadt 72/85-1", "KTW"},
      {"84128573", "Sama Musterstadt 72/85-2", "KTW"},
      {"A4128373", "Akkon Musterstadt 73/83-1", "RTW"},
      {"A4128573", "Akkon Musterstadt 73/85-1", "KTW"},
      {"B4128574", "Johannes Musterstadt 74/85-1", "KTW"},
      {"B4121974", "Johannes Musterstadt 74/19-1", "MTW"},
      {"74125221", "Heros Musterstadt 21/52-1", "GKW"},
      {"74121021", "Heros Musterstadt 21/10-1", "MTW-TZ"},
  };
  set.fiveTones = {
      {"21001", "Feuerwehr Musterstadt Vollalarm"},
      {"21002", "Feuerwehr Musterstadt Zug 1"},
      {"21003", "Feuerwehr Musterstadt Zug 2"},
      {"21004", "Feuerwehr Musterstadt Führungsgruppe"},
      {"21010", "Feuerwehr Beispieldorf"},
      {"21011", "Feuerwehr Beispieldorf Sirene"},
      {"21020", "Wehrführung Musterstadt"},
      {"23101", "DRK Schnelleinsatzgruppe"},
      {"23102", "DRK Bereitschaft Musterstadt"},
      {"25555", "Kreisbrandmeister"},
  };
  set.pagers = {
      {1234567, u'A', "Feuerwehr Musterstadt Vollalarm"},
      {1234567, u'B', "Feuerwehr Musterstadt Zug 1"},
      {1234567, u'C', "Feuerwehr Musterstadt Probealarm"},
      {1234567, u'D', "Feuerwehr Musterstadt Info"},
      {1234568, u'A', "Feuerwehr Beispieldorf"},
      {1234568, u'D', "Feuerwehr Beispieldorf Info"},
      {2345671, u'A', "DRK SEG Musterstadt"},
      {2345671, u'B', "DRK SEG Voralarm"},
      {2345672, u'A', "Notarzt Musterstadt"},
      {3456781, u'A', "Kreisbrandmeister"},
      {3456781, u'C', "Kreisbrandmeister Info"},
  };
  set.followUpPlaces = {
      {1, "Rathaus Musterstadt"},
      {2, "Marktplatz"},
      {3, "Feuerwache 1"},
      {4, "Feuerwache 2 (Nord)"},
      {5, "Rathaus Nord"},
      {10, "Klinikum Musterstadt"},
      {11, "St.-Marien-Krankenhaus"},
      {12, "Kreisklinik Beispieldorf"},
      {20, "Rettungswache Nord"},
      {21, "Rettungswache Süd"},
      {30, "Bereitstellungsraum A"},
      {100, "Leitstelle"},
  };
  set.places = {
      {"&TRN0A1B2C01E00C0FFEE", "Musterstadt, Hauptstraße 1"},
      {"&TRN0A1B2C02E00C0FFEE", "Musterstadt, Bahnhofstraße 12"},
      {"&TRN0A1B2C03E00C0FFEE", "Musterstadt, Industriegebiet West"},
      {"&TRN0A1B2C04E00C0FFEE", "Musterstadt, Schulzentrum"},
      {"&TRN0A1B2C05E00C0FFEE", "Musterstadt, Klinikum"},
      {"&TRN0B2C3D01E00BEEF01", "Beispieldorf, Dorfplatz"},
      {"&TRN0B2C3D02E00BEEF01", "Beispieldorf, Sportplatz"},
      {"&TRN0B2C3D03E00BEEF01", "Beispieldorf, Kläranlage"},
      {"&TRN1F2E3D4CE5B6A7980", "BAB 5, Anschlussstelle Musterstadt"},
      {"&TRN1F2E3D4DE5B6A7980", "B 42, Ortsumgehung Beispieldorf"},
  };
  set.separator = "=";
  set.replacements = {
      {"Florian Musterstadt", "Flo MS"},
      {"Rotkreuz Musterstadt", "RK MS"},
      {"Einsatzbereit über Funk", "Frei (Funk)"},
  };
  set.vehicleStatusTexts = {"Priorisierter Sprechwunsch",
                            "Einsatzbereit über Funk",
                            "Einsatzbereit auf Wache",
                            "Einsatz übernommen",
                            "Am Einsatzort",
                            "Sprechwunsch",
                            "Nicht einsatzbereit",
                            "Patient aufgenommen",
                            "Am Transportziel",
                            "Fremdanmeldung",
                            "",
                            "",
                            "",
                            "",
                            "",
                            "Sprechtaste"};
  set.controlStatusTexts = {"Statusabfrage",
                            "A - Sammelruf",
                            "E - Einrücken/Abbrechen",
                            "C - Melden für Einsatzübernahme",
                            "F - Über Telefon melden",
                            "H - Wache anfahren",
                            "J - Sprechaufforderung",
                            "L - Lagemeldung",
                            "P - Einsatzort-Information",
                            "U - Unerlaubter Status",
                            "",
                            "",
                            "",
                            "",
                            "",
                            "Quittung"};
  return set;
}

SampleDataSet SampleDataSet::maximum() {
  SampleDataSet set = standard();
  // The made-up entries use key ranges the standard set leaves free (state digit 5, codes from
  // 30000, RICs from 4000000, place keys from 20000000), so every key stays unique.
  static const char* const kOrganisations[] = {"Florian", "Rotkreuz", "Sama",
                                               "Akkon",   "Johannes", "Heros"};
  static const char kBosDigits[] = {'6', '9', '8', 'A', 'B', '7'};
  for (int n = 0; set.vehicles.size() < 2000; ++n) {
    const int org = n % 6;
    set.vehicles.push_back(
        {QStringLiteral("%1%2").arg(QLatin1Char(kBosDigits[org])).arg(5000000 + n),
         QStringLiteral("%1 Kreisort %2/%3-1")
             .arg(QLatin1StringView(kOrganisations[org]))
             .arg(n / 100 + 1)
             .arg(n % 100),
         QStringLiteral("Fahrzeug %1 des Landkreises").arg(n + 1)});
  }
  for (int n = 0; set.fiveTones.size() < 2500; ++n)
    set.fiveTones.push_back(
        {QString::number(30000 + n),
         QStringLiteral("Feuerwehr Kreisort %1 Schleife %2").arg(n / 4 + 1).arg(n % 4 + 1)});
  for (int n = 0; set.pagers.size() < 2000; ++n)
    set.pagers.push_back(
        {4000000 + n / 4, QChar(u'A' + n % 4),
         QStringLiteral("Melder Kreisort %1 %2").arg(n / 4 + 1).arg(QChar(u'A' + n % 4))});
  std::vector<SamplePlace> followUp;
  for (int number = 1; number <= 100; ++number) {
    auto known =
        std::find_if(set.followUpPlaces.begin(), set.followUpPlaces.end(),
                     [number](const SamplePlace& place) { return place.number == number; });
    followUp.push_back(known != set.followUpPlaces.end()
                           ? *known
                           : SamplePlace{number, QStringLiteral("Folgeort %1").arg(number)});
  }
  set.followUpPlaces = std::move(followUp);
  for (int n = 0; set.places.size() < 9500; ++n)
    set.places.push_back(
        {QStringLiteral("&TRN%1E00C0FFEE").arg(0x20000000 + n, 8, 16, QLatin1Char('0')).toUpper(),
         QStringLiteral("Kreisort %1, Straße %2").arg(n / 50 + 1).arg(n % 50 + 1)});
  for (int n = 0; set.replacements.size() < 500; ++n)
    set.replacements.push_back(
        {QStringLiteral("Kreisort %1 Schleife").arg(n + 1), QStringLiteral("KO%1 S").arg(n + 1)});
  return set;
}

void SampleDataSet::write(const QDir& dir) const {
  // The first product: fixed-length records.
  QByteArray statusF;
  QByteArray statusL;
  for (int k = 0; k < zentrix::kStatusRecords; ++k) {
    statusF += zentrix::writeStatusText(vehicleStatusTexts.at(std::size_t(k % 16)));
    statusL += zentrix::writeStatusText(controlStatusTexts.at(std::size_t(k % 16)));
  }
  writeFile(dir, "StatusF.DAT", statusF);
  writeFile(dir, "StatusL.DAT", statusL);

  QByteArray places;
  for (const auto& place : followUpPlaces)
    places += zentrix::writeFollowUp(std::int16_t(place.number), place.name, '\0');
  writeFile(dir, "Folgetlg.DAT", places);

  QByteArray vehicleBytes;
  for (const auto& vehicle : this->vehicles) {
    VehicleRecord record;
    record.identifier.store(vehicle.identifier);
    record.name.store(vehicle.name);
    record.info.store(vehicle.info);
    vehicleBytes += zentrix::writeVehicle(record);
  }
  writeFile(dir, "Fahrzeug.Dat", vehicleBytes);

  QByteArray fiveToneBytes;
  for (const auto& receiver : fiveTones)
    fiveToneBytes +=
        zentrix::writeFiveTone({FixedText<5>(receiver.code), FixedText<50>(receiver.name)});
  writeFile(dir, "Ton5.dat", fiveToneBytes);

  QByteArray pagerBytes;
  for (const auto& pager : pagers) {
    PocsagRecord record;
    record.ric = pager.ric;
    record.subAddress = subAddressOf(pager.function);
    record.name.store(pager.name);
    pagerBytes += zentrix::writePocsag(record);
  }
  writeFile(dir, "POCSAG.DAT", pagerBytes);

  // The second product: text lists in its "Settings" folder.
  QStringList bosList{"# Statustexte je Organisation (LST Fahrzeug, KFZ Leitstelle)"};
  for (int org = 0; org < 16; ++org) {
    const QString number = org < 10 ? QStringLiteral("%1:").arg(org) : QString::number(org);
    for (const QString& text : vehicleStatusTexts)
      bosList << QStringLiteral("LST%1 %2").arg(number, text);
    for (const QString& text : controlStatusTexts)
      bosList << QStringLiteral("KFZ%1 %2").arg(number, text);
  }
  writeFile(dir, "Settings/BOSList.wbr", textLines(bosList));

  QStringList clientList{"# Folgeorte und Statusfarben"};
  for (const auto& place : followUpPlaces)
    clientList << QStringLiteral("FOLGEORT:%1 %2").arg(place.number).arg(place.name);
  // Statuses 0 to 9, then the alarm colour.
  for (const char* rgb : {"255 255 255", "0 255 0", "0 144 0", "255 255 0", "255 0 0", "255 255 0",
                          "128 128 128", "255 128 0", "255 0 128", "0 0 255", "255 0 0"})
    clientList << QStringLiteral("STATUSFARBE: %1").arg(QLatin1StringView(rgb));
  writeFile(dir, "Settings/ClientList.wbr", textLines(clientList));

  // Three unused words between the key and the name, as the product writes them.
  QStringList melder{"# Fahrzeuge (KFZ) und Melder (FME)"};
  for (const auto& vehicle : this->vehicles)
    melder << QStringLiteral("KFZ %1 1 0 0 %2 # %3")
                  .arg(vehicle.identifier, vehicle.name, vehicle.info);
  for (const auto& receiver : fiveTones)
    melder << QStringLiteral("FME %1 1 0 0 %2").arg(receiver.code, receiver.name);
  for (const auto& pager : pagers)
    melder
        << QStringLiteral("FME %1%2 1 0 0 %3").arg(pager.ric).arg(pager.function).arg(pager.name);
  writeFile(dir, "Settings/FahrzeugMelder.wbr", textLines(melder));

  QStringList orte;
  for (const auto& place : this->places)
    orte << place.key + u';' + place.name;
  writeFile(dir, "Orte.txt", textLines(orte));

  QStringList ersetzen{separator};
  for (const auto& [find, replacement] : replacements)
    ersetzen << find + separator + replacement;
  writeFile(dir, "Ersetzen.txt", textLines(ersetzen));
}

} // namespace meldlux
