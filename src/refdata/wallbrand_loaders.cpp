// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/wallbrand_loaders.h"

#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "base/text_line_reader.h"
#include "tables/status_tables.h"

#include <QFile>
#include <functional>

namespace meldlux {

namespace {

using Unit = LoadDiagnostics::Unit;

// Characters from 1-based position start, like the lists' own positions; empty past the end.
QStringView mid(QStringView text, qsizetype start, qsizetype length = -1) {
  if (start < 1 || start > text.size())
    return {};
  const QStringView rest = text.sliced(start - 1);
  return length < 0 ? rest : rest.left(length);
}

// 1-based position of the first c, 0 when there is none.
qsizetype position(QStringView text, QChar c) { return text.indexOf(c) + 1; }

std::int16_t increment16(std::int16_t& counter, const QString& name) {
  if (counter == 32767)
    throw Failure(QStringLiteral("Überlauf: zu viele Einträge in %1").arg(name));
  return ++counter;
}

// Reads the named list line by line; false when it does not exist. Cut lines are reported.
bool forEachLine(const LoaderEnvironment& env, const QString& name,
                 const std::function<bool(QStringView line, qint64 number)>& take) {
  const auto path = env.files().find(name);
  if (!path)
    return false;
  QFile file(*path);
  if (!file.open(QIODevice::ReadOnly))
    throw Failure(QStringLiteral("Datei kann nicht gelesen werden: %1").arg(*path));
  TextLineReader reader(file);
  QString line;
  while (reader.next(line)) {
    if (reader.cut() && env.diagnostics())
      env.skipped(name, Unit::Line, reader.lineNumber(),
                  QStringLiteral("Zeile nach %1 Zeichen abgeschnitten")
                      .arg(TextLineReader::kDefaultMaxLineBytes));
    if (!take(line, reader.lineNumber()))
      break;
  }
  return true;
}

// A line that names one of the tags in another letter case or with other white space after it is
// very likely meant as one; the check tool reports it, everything else is ignored silently.
bool looksLike(QStringView line, QStringView tag) {
  QStringView bare = tag;
  while (!bare.isEmpty() && (bare.back() == u' ' || bare.back() == u':'))
    bare.chop(1);
  return line.startsWith(bare, Qt::CaseInsensitive);
}

void reportLine(const LoaderEnvironment& env, const QString& name, qint64 number,
                const QString& reason) {
  env.skipped(name, Unit::Line, number, reason);
}

// The "#" rule: name, then optionally "#" and a remark.
QString joinRemark(const QString& rest) {
  const qsizetype h = position(rest, u'#');
  if (h < 3)
    return rest;
  return trimSpaces(mid(rest, 1, h - 1)) + u' ' + trimSpaces(mid(rest, h + 1));
}

} // namespace

QString wallbrand::skipThreeWords(QStringView text) {
  for (int i = 0; i < 3; ++i) {
    const qsizetype blank = text.indexOf(u' ');
    if (blank >= 0)
      text = text.sliced(blank + 1);
  }
  return text.toString();
}

std::int16_t LoadWallbrandStatusTexts(const LoaderEnvironment& env, const QString& name,
                                      StatusTables& tables) {
  int counters[StatusTables::kOrganisations][StatusTables::kDirections] = {};
  std::int16_t stored = 0;
  const bool found = forEachLine(env, name, [&](QStringView line, qint64 number) {
    const bool vehicle = line.startsWith(u"LST");
    if (!vehicle && !line.startsWith(u"KFZ")) {
      if (env.diagnostics() && (looksLike(line, u"LST") || looksLike(line, u"KFZ")))
        reportLine(env, name, number, QStringLiteral("Kennung nicht erkannt"));
      return true;
    }
    QStringView orgText = mid(line, 4, 2);
    if (orgText.size() == 2 && orgText[1] == u':')
      orgText = orgText.left(1);
    const int org = roundToInt32(leadingNumber(orgText));
    if (org < 0 || org >= StatusTables::kOrganisations)
      throw Failure(QStringLiteral("%1, Zeile %2: Organisation %3 außerhalb 0 bis 15")
                        .arg(name)
                        .arg(number)
                        .arg(org));
    const int d = vehicle ? 0 : 1;
    int& counter = counters[org][d];
    // A 20th text has no status left: Failure.
    tables.text(counter, org, d) = trimSpaces(mid(line, 7));
    ++counter;
    increment16(stored, name);
    return true;
  });
  if (found)
    env.notice(QStringLiteral("Wallbrand Statustexte geladen."));
  return stored;
}

std::int16_t LoadWallbrandClientList(const LoaderEnvironment& env, const QString& name,
                                     FollowUpPlaces& places, StatusTables& tables) {
  std::int16_t p = 0;
  int k = 0;
  const bool found = forEachLine(env, name, [&](QStringView line, qint64 number) {
    if (line.startsWith(u"FOLGEORT:")) {
      const QString rest = trimSpaces(mid(line, 10));
      const qsizetype b = position(rest, u' ');
      if (b == 0) {
        if (env.diagnostics())
          reportLine(env, name, number,
                     QStringLiteral("Folgeort ohne Leerzeichen nach der Nummer"));
        return true;
      }
      const double value = leadingNumber(mid(rest, 1, b - 1));
      if (value > 100.5) { // rounds to more than 100 (100.5 itself rounds to even, 100)
        if (env.diagnostics())
          reportLine(env, name, number, QStringLiteral("Folgeort-Nummer liegt über 100"));
        return true;
      }
      // A negative number has no entry: Failure.
      places.set(roundToInt32(value), mid(rest, b + 1).toString());
      increment16(p, name);
    } else if (line.startsWith(u"STATUSFARBE:")) {
      const QStringList parts = trimSpaces(mid(line, 14)).split(u' ');
      if (parts.size() != 3) {
        if (env.diagnostics())
          reportLine(env, name, number,
                     QStringLiteral("Statusfarbe ohne genau drei Zahlen; nicht gezählt"));
        return true;
      }
      const Colour colour = roundToInt32(leadingNumber(parts[2]) * 65536.0 +
                                         leadingNumber(parts[1]) * 256.0 + leadingNumber(parts[0]));
      if (k == 10) { // the eleventh line gives both alarm colours; entry 10 never comes from here
        tables.colour(StatusTables::kZvei) = colour;
        tables.colour(StatusTables::kPocsag) = colour;
      } else {
        tables.colour(k) = colour; // a 20th line has no entry: Failure
      }
      ++k;
    } else if (env.diagnostics() &&
               (looksLike(line, u"FOLGEORT:") || looksLike(line, u"STATUSFARBE:"))) {
      reportLine(env, name, number, QStringLiteral("Kennung nicht erkannt"));
    }
    return true;
  });
  if (found)
    env.notice(formatDecimal(qint64(p)) + QStringLiteral(" Folgeorte (Wallbrand) geladen."));
  return p;
}

std::int16_t LoadWallbrandVehicles(const LoaderEnvironment& env, const QString& name,
                                   VehicleTable& vehicles) {
  vehicles.resize(2000);
  vehicles.clear(1, 2000);
  std::int16_t v = 0;
  const bool found = forEachLine(env, name, [&](QStringView line, qint64 number) {
    if (!line.startsWith(u"KFZ ") || mid(line, 13, 1) != u" ") {
      if (env.diagnostics() && looksLike(line, u"KFZ ") && !line.startsWith(u"FME"))
        reportLine(env, name, number,
                   QStringLiteral("Fahrzeugzeile ohne die Leerzeichen an Stelle 4 und 13"));
      return true;
    }
    increment16(v, name);
    if (v > vehicles.upperBound())
      vehicles.resize(vehicles.upperBound() + 100);
    VehicleRecord record = vehicles.at(v);
    record.identifier.store(mid(line, 5, 8));
    const QString rest = wallbrand::skipThreeWords(mid(line, 14));
    const qsizetype h = position(rest, u'#');
    record.name.store(h >= 3 ? trimSpaces(mid(rest, 1, h - 1)) : rest);
    if (h >= 4)
      record.info.store(trimSpaces(mid(rest, h + 1)));
    vehicles.set(v, record);
    return true;
  });
  if (found)
    env.notice(formatDecimal(qint64(v)) + QStringLiteral(" Fahrzeuge (Wallbrand) geladen."));
  return v;
}

std::int16_t LoadWallbrandReceivers(const LoaderEnvironment& env, const QString& name,
                                    FiveToneTable& fiveTones, PocsagTable& pocsag) {
  int f = 0;
  std::int16_t d = 0;
  bool tooMany = false;
  const bool found = forEachLine(env, name, [&](QStringView line, qint64 number) {
    if (!line.startsWith(u"FME ")) {
      if (env.diagnostics() && looksLike(line, u"FME ") && !line.startsWith(u"KFZ"))
        reportLine(env, name, number, QStringLiteral("Melderzeile ohne Leerzeichen an Stelle 4"));
      return true;
    }
    if (mid(line, 10, 1) == u" ") {
      if (++f > FiveToneTable::kUpperBound) {
        if (env.diagnostics())
          reportLine(env, name, number,
                     QStringLiteral("mehr als 2500 5Ton-Melder: Laden der Melder endet hier"));
        tooMany = true;
        return false;
      }
      FiveToneRecord record;
      record.code.store(mid(line, 5, 5));
      record.name.store(joinRemark(wallbrand::skipThreeWords(mid(line, 11))));
      fiveTones.set(f, record);
      return true;
    }
    increment16(d, name);
    pocsag.resize(d + 1);
    QStringView address = mid(line, 5);
    QStringView rest;
    const qsizetype b = position(address, u' ');
    if (b > 0) {
      address = address.left(b - 1);
      // Leaves out the first character after the blank, as the product's own reader does.
      rest = mid(line, b + 6);
    } else {
      rest = mid(line, 10);
    }
    const QStringView ricDigits = address.left(7);
    const bool letter = std::any_of(ricDigits.begin(), ricDigits.end(),
                                    [](QChar c) { return c.toUpper() != c.toLower(); });
    if (letter) {
      if (env.diagnostics())
        reportLine(env, name, number, QStringLiteral("RIC mit Buchstaben wird 0000000"));
      address = u"0000000";
    }
    PocsagRecord record = pocsag.at(d);
    record.ric = roundToInt32(leadingNumber(address.left(7)));
    if (address.size() < 8) {
      record.subAddress = 1;
    } else {
      const QChar c = address[7];
      if (c >= u'0' && c <= u'9')
        record.subAddress = c.unicode() - u'0';
      else if (c.toUpper() >= u'A' && c.toUpper() <= u'D')
        record.subAddress = c.toUpper().unicode() - u'A' + 1;
      else
        record.subAddress = 0;
    }
    record.name.store(joinRemark(wallbrand::skipThreeWords(rest)));
    pocsag.set(d, record);
    return true;
  });
  if (!found || tooMany)
    return 0;
  env.notice(formatDecimal(qint64(f)) + QStringLiteral(" Melder FME (Wallbrand) geladen."));
  if (d > 0)
    env.notice(formatDecimal(qint64(d)) + QStringLiteral(" Melder DME (Wallbrand) geladen."));
  return std::int16_t(f);
}

} // namespace meldlux
