// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/builtin_tables.h"

#include "base/numbers.h"
#include "tables/status_tables.h"

#include <array>

namespace meldlux {

namespace {

constexpr std::array<const char*, 16> kDefaultColours = {
    "16777215", "65280",    "36864",    "65535",    "255",      "65535",    "8421504",  "33023",
    "8388863",  "16711680", "16777215", "16777215", "16777215", "16777215", "16777215", "8454143"};

constexpr Colour kWhite = 16777215;

struct BuiltinText {
  int status;
  const char* vehicle;
  const char* controlCentre;
};

constexpr std::array<BuiltinText, 11> kBuiltinTexts = {{
    {0, "NOTRUF", "Statusabfrage"},
    {1, "Frei auf Funk", "A - Sammelruf"},
    {2, "Frei auf Wache", "E - Einrücken"},
    {3, "Einsatz Übernommen", "C - Für Einsatz Melden"},
    {4, "Am Einsatzort", "F - Über Telefon Melden"},
    {5, "Sprechwunsch", "H - Wache Anfahren"},
    {6, "Nicht Einsatzbereit", "J - Sprechaufforderung"},
    {7, "Patient Aufgenommen", "L - Lagemeldung"},
    {8, "Im Krankenhaus", "P - Fernwirken I"},
    {9, "Handquittung", "U - Ungültiger Status"},
    {15, "Quittung", "Quittung"},
}};

constexpr std::array<const char*, 16> kDefaultOrgCodes = {
    "NN",  "POL", "BGS", "BKA", "KAT",  "ZOLL", "FW",  "THW",
    "ASB", "DRK", "JUH", "MHD", "DLRG", "RD",   "ZVS", "FERNW"};

} // namespace

Colour colourFromText(QStringView text) { return roundToInt32(leadingNumber(text)); }

void fillStatusColours(StatusTables& tables, const ZentrixReader& zentrix, const QString& farbeFme,
                       const QString& farbeDme) {
  const QString section = QStringLiteral("Statusfarben");
  for (int i = 0; i < int(kDefaultColours.size()); ++i) {
    tables.colour(i) = colourFromText(
        zentrix(section, QString::number(i), QString::fromLatin1(kDefaultColours[std::size_t(i)])));
  }
  tables.colour(StatusTables::kZvei) = colourFromText(farbeFme);
  tables.colour(StatusTables::kPocsag) = colourFromText(farbeDme);
  tables.colour(StatusTables::kInformation) = kWhite;
}

void fillStatusTexts(StatusTables& tables) {
  for (int org = 0; org < StatusTables::kOrganisations; ++org) {
    for (int status = 0; status < StatusTables::kStatuses; ++status) {
      tables.text(status, org, 0).clear();
      tables.text(status, org, 1).clear();
    }
    for (const BuiltinText& entry : kBuiltinTexts) {
      tables.text(entry.status, org, 0) = QString::fromUtf8(entry.vehicle);
      tables.text(entry.status, org, 1) = QString::fromUtf8(entry.controlCentre);
    }
  }
}

void fillOrgCodes(StatusTables& tables, const ZentrixReader& zentrix) {
  const QString section = QStringLiteral("BOS-Kennung");
  for (int i = 0; i < StatusTables::kOrganisations; ++i) {
    tables.orgCode(i) =
        zentrix(section, QString::number(i), QString::fromLatin1(kDefaultOrgCodes[std::size_t(i)]));
  }
}

} // namespace meldlux
