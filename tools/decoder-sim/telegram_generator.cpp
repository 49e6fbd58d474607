// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegram_generator.h"

#include <QStringList>

namespace meldlux::sim {

namespace {

// FMS identifiers: BOS digit (6 fire brigade, 9 Red Cross, 8 Samaritans, 7 THW), Land, place,
// vehicle number.
const char* const kVehicles[] = {"61234511", "61234523", "61234544", "61234583", "61235211",
                                 "61235246", "93104183", "93104171", "81207283", "72230151"};
const char* const kZveiCodes[] = {"21345", "21346", "21350", "25112", "25118", "60341"};
const char* const kRics[] = {"1234567", "1234568", "1650211", "0812345", "1650244"};
const char kFunctions[] = {'A', 'B', 'C', 'D'};
const char* const kPagerTexts[] = {
    "B3 Wohnungsbrand Hauptstraße 12, Personen in Gefahr",
    "THL1 Ölspur Ortsdurchfahrt Süd",
    "RD Notfall Marktplatz 3, Bewusstlose Person",
    "Probealarm",
    "B2 Brandmeldeanlage Schule Am Weiher",
};
const char* const kVehicleTexts[] = {"Einsatzstelle erreicht, erkunden", "Nachforderung RTW",
                                     "Zurück zur Wache", "Übergabe an Rettungsdienst erfolgt"};
const char* const kControlTexts[] = {"Einsatz: B2 Kaminbrand Lindenweg 4", "Bitte Lagemeldung",
                                     "Alarmfax angekommen?", "Funkprobe"};
// Statuses a vehicle sends: 1 to 9 and 0 (emergency), 15 speaking, now and then a text (10).
const int kVehicleStatuses[] = {1, 2, 3, 3, 4, 4, 5, 6, 7, 8, 1, 2, 9, 0, 15, 10};
// Orders of the control centre: 0 to 9 and text telegrams.
const int kControlStatuses[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10};
const char* const kMarkerSeparator = "#![]!#";

} // namespace

TelegramGenerator::TelegramGenerator(Format format, quint32 seed)
    : format_(format), random_(seed) {}

QString TelegramGenerator::next(const QDateTime& now) {
  const Kind kind = pickKind();
  bool marker = format_ == Format::Marker;
  if (format_ == Format::Mixed)
    marker = random_.bounded(2) == 1;
  return marker ? markerLine(kind, now) : tabLine(kind);
}

TelegramGenerator::Kind TelegramGenerator::pickKind() {
  const int roll = random_.bounded(100);
  if (roll < 55)
    return Kind::FmsVehicle;
  if (roll < 75)
    return Kind::FmsControl;
  if (roll < 87)
    return Kind::Zvei;
  return Kind::Pocsag;
}

TelegramGenerator::Fms TelegramGenerator::makeFms(bool fromVehicle, bool markerFormat) {
  Fms fms;
  fms.identifier = QString::fromLatin1(pick(kVehicles));
  fms.fromVehicle = fromVehicle;
  fms.status = fromVehicle ? pick(kVehicleStatuses) : pick(kControlStatuses);
  fms.placeCode = random_.bounded(101);
  if (fromVehicle) {
    if (fms.status == 10) {
      fms.textKind = 2;
      fms.text = markerFormat && random_.bounded(2) == 0
                     ? QStringLiteral("EGLOF_GPSINFO : 48.1372 11.5756")
                     : QString::fromUtf8(pick(kVehicleTexts));
    } else if (fms.status == 3 && random_.bounded(2) == 0) {
      fms.textKind = 1;
      if (markerFormat)
        fms.text = QStringLiteral("EGLOF_BAVARIA %1").arg(fms.placeCode, 3, 10, QLatin1Char('0'));
    } else if (markerFormat && random_.bounded(4) == 0) {
      fms.textKind = 2;
      fms.text = QStringLiteral("EGLOF_STATUS : ") + QString::fromUtf8(pick(kVehicleTexts));
    }
  } else if (fms.status == 10) {
    fms.textKind = 2;
    fms.text = QString::fromUtf8(pick(kControlTexts));
    const int extra = random_.bounded(3);
    if (extra == 1) // a transmission reference, written as the decoder writes it
      fms.text += QString::fromLatin1(markerFormat ? " ;TRN %1" : " &TRN %1")
                      .arg(random_.bounded(1000, 9999));
    else if (extra == 2 && markerFormat)
      fms.text += QStringLiteral(" (%1)").arg(random_.bounded(1, 99));
  }
  return fms;
}

QString TelegramGenerator::tabLine(Kind kind) {
  QStringList f;
  switch (kind) {
  case Kind::Zvei:
    f << QStringLiteral("ZVEI") << QString::fromLatin1(pick(kZveiCodes)) << QStringLiteral("Alarm");
    break;
  case Kind::Pocsag: {
    const int function = random_.bounded(4);
    f << QStringLiteral("POC") << QString::fromLatin1(pick(kRics))
      << (random_.bounded(2) == 0 ? QString(QChar(kFunctions[function]))
                                  : QString::number(function))
      << QString::fromUtf8(pick(kPagerTexts)) << QStringLiteral("1200");
    break;
  }
  case Kind::FmsVehicle:
  case Kind::FmsControl: {
    const Fms fms = makeFms(kind == Kind::FmsVehicle, false);
    // Kind, identifier, BOS, Land, place, vehicle, status, stage, direction, short info,
    // text kind, reserve, follow-up place, text.
    f << QStringLiteral("FMSTlg") << fms.identifier << fms.identifier.left(1)
      << fms.identifier.mid(1, 1) << fms.identifier.mid(2, 2) << fms.identifier.mid(4, 4)
      << QString::number(fms.status) << QStringLiteral("1")
      << (fms.fromVehicle ? QStringLiteral("0") : QStringLiteral("1"))
      << QString::number(random_.bounded(4)) << QString::number(fms.textKind) << QStringLiteral("0")
      << QString::number(fms.placeCode) << fms.text;
    break;
  }
  }
  return f.join(u'\t');
}

QString TelegramGenerator::markerLine(Kind kind, const QDateTime& now) {
  QStringList f;
  f << QStringLiteral("#!XX!#") + now.toString(QStringLiteral("dd.MM.yy"))
    << now.toString(QStringLiteral("HH:mm:ss"));
  switch (kind) {
  case Kind::Zvei:
    f << QString::fromLatin1(pick(kZveiCodes)) << QStringLiteral("16") << QStringLiteral("1")
      << QStringLiteral("false") << QStringLiteral("ZVEI") << QStringLiteral("0")
      << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0");
    break;
  case Kind::Pocsag:
    f << QString::fromLatin1(pick(kRics)) + QChar(pick(kFunctions)) << QStringLiteral("17")
      << QStringLiteral("1") << QStringLiteral("false") << QStringLiteral("POCSAG1200")
      << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0")
      << QString::fromUtf8(pick(kPagerTexts));
    break;
  case Kind::FmsVehicle:
  case Kind::FmsControl: {
    const Fms fms = makeFms(kind == Kind::FmsVehicle, true);
    f << fms.identifier << QString::number(fms.status) << QStringLiteral("1")
      << (fms.fromVehicle ? QStringLiteral("false") : QStringLiteral("true"))
      << fms.identifier.left(1) << fms.identifier.mid(1, 1) << fms.identifier.mid(2, 2)
      << fms.identifier.mid(4, 4) << QString::number(random_.bounded(4));
    if (!fms.text.isEmpty())
      f << fms.text;
    break;
  }
  }
  return f.join(QLatin1StringView(kMarkerSeparator));
}

} // namespace meldlux::sim
