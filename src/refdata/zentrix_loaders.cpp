#include "refdata/zentrix_loaders.h"

#include "app/status_tables.h"
#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "refdata/zentrix_records.h"

#include <QFile>
#include <optional>

namespace meldlux {

namespace {

using Unit = LoadDiagnostics::Unit;

// An open data file; closed when it goes out of scope, whatever happens.
class DataFile {
public:
  explicit DataFile(const QString& path) : file_(path) {
    if (!file_.open(QIODevice::ReadOnly))
      throw Failure(QStringLiteral("Datei kann nicht gelesen werden: %1").arg(path));
  }
  qint64 size() const { return file_.size(); }
  // Up to count bytes from the start; fewer only when the file is shorter.
  QByteArray readUpTo(qint64 count) {
    QByteArray bytes = file_.read(count);
    if (bytes.size() < std::min(count, file_.size()))
      throw Failure(QStringLiteral("Datei kann nicht gelesen werden: %1").arg(file_.fileName()));
    return bytes;
  }

private:
  QFile file_;
};

// The record count as the 16-bit result holds it; more records than that cannot be loaded.
std::int16_t recordCount(qint64 records, const QString& name) {
  if (records > 32767)
    throw Failure(QStringLiteral("Überlauf: %1 hat %2 Datensätze").arg(name).arg(records));
  return std::int16_t(records);
}

void reportLength(const LoaderEnvironment& env, const QString& name, qint64 length,
                  int recordLength) {
  if (env.diagnostics())
    env.skipped(name, Unit::File, 0,
                QStringLiteral("Länge %1 Bytes ist kein Vielfaches von %2; Datei nicht geladen")
                    .arg(length)
                    .arg(recordLength));
}

// Trims the blanks at both ends, then drops every NUL wherever it stands.
QString stripNulPlaceName(QStringView text) {
  QString out = trimSpaces(text);
  out.remove(QChar(u'\0'));
  return out;
}

QString trimRight(QStringView text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1] == u' ')
    --end;
  return text.left(end).toString();
}

} // namespace

std::int16_t LoadZentrixStatusTexts(const LoaderEnvironment& env, const QString& name,
                                    StatusTables& tables, int direction) {
  const auto path = env.files().find(name);
  if (!path)
    return 0;
  const qint64 wanted = qint64(zentrix::kStatusRecords) * zentrix::kStatusRecordLength;
  QByteArray bytes;
  {
    DataFile file(*path);
    bytes = file.readUpTo(wanted);
  }
  if (bytes.size() < wanted && env.diagnostics())
    env.skipped(name, Unit::File, 0,
                QStringLiteral("nur %1 von 256 Datensätzen; die übrigen Texte bleiben leer")
                    .arg(bytes.size() / zentrix::kStatusRecordLength));
  // A file cut short leaves the missing records as blanks, so their texts become empty.
  bytes.append(wanted - bytes.size(), ' ');
  for (int k = 0; k < zentrix::kStatusRecords; ++k) {
    const QString text = trimRight(zentrix::readStatusText(QByteArrayView(bytes).sliced(
        qsizetype(k) * zentrix::kStatusRecordLength, zentrix::kStatusRecordLength)));
    tables.text(k % 16, k / 16, direction) = text;
  }
  if (direction == 1)
    env.notice(QStringLiteral("Zentrix Statustexte geladen."));
  return 16;
}

std::int16_t LoadZentrixFollowUpPlaces(const LoaderEnvironment& env, const QString& name,
                                       FollowUpPlaces& places) {
  const auto path = env.files().find(name);
  if (!path)
    return 0;
  QByteArray bytes;
  std::int16_t n = 0;
  {
    DataFile file(*path);
    if (file.size() % zentrix::kFollowUpRecordLength != 0) {
      reportLength(env, name, file.size(), zentrix::kFollowUpRecordLength);
      return 0;
    }
    n = recordCount(file.size() / zentrix::kFollowUpRecordLength, name);
    bytes = file.readUpTo(qint64(n) * zentrix::kFollowUpRecordLength);
  }
  for (int k = 1; k <= n; ++k) {
    const auto record = zentrix::readFollowUp(QByteArrayView(bytes).sliced(
        qsizetype(k - 1) * zentrix::kFollowUpRecordLength, zentrix::kFollowUpRecordLength));
    if (record.number > 100) {
      if (env.diagnostics())
        env.skipped(name, Unit::Record, k,
                    QStringLiteral("Nummer %1 liegt über 100").arg(record.number));
      continue;
    }
    // A negative number has no entry: Failure, which ends start-up.
    places.set(record.number, stripNulPlaceName(record.name));
  }
  if (n > 0)
    env.notice(formatDecimal(n) + QStringLiteral(" Folgeorte (Zentrix) geladen."));
  return n;
}

std::int16_t LoadZentrixVehicles(const LoaderEnvironment& env, const QString& name,
                                 VehicleTable& vehicles) {
  vehicles.resize(100);
  vehicles.clear(1, 100);
  const auto path = env.files().find(name);
  if (!path)
    return 0;
  QByteArray bytes;
  std::int16_t n = 0;
  {
    DataFile file(*path);
    if (file.size() % zentrix::kVehicleRecordLength != 0) {
      reportLength(env, name, file.size(), zentrix::kVehicleRecordLength);
      env.messageBox(QStringLiteral("Fahrzeuge Laden"),
                     QStringLiteral("Keine gültige Fahrzeug DAT-Datei!"),
                     MessageBoxes::Icon::Error);
      return 0;
    }
    n = recordCount(file.size() / zentrix::kVehicleRecordLength, name);
    bytes = file.readUpTo(qint64(n) * zentrix::kVehicleRecordLength);
  }
  vehicles.resize(n + 10);
  vehicles.clear(1, n + 10);
  for (int k = 1; k <= n; ++k)
    vehicles.set(
        k, zentrix::readVehicle(QByteArrayView(bytes).sliced(
               qsizetype(k - 1) * zentrix::kVehicleRecordLength, zentrix::kVehicleRecordLength)));
  if (n > 0)
    env.notice(formatDecimal(n) + QStringLiteral(" Fahrzeuge (Zentrix) geladen."));
  return n;
}

std::int16_t LoadZentrixFiveTones(const LoaderEnvironment& env, const QString& name,
                                  FiveToneTable& fiveTones) {
  const auto path = env.files().find(name);
  if (!path)
    return 0;
  QByteArray bytes;
  int n = 0;
  {
    DataFile file(*path);
    if (file.size() % zentrix::kFiveToneRecordLength != 0) {
      reportLength(env, name, file.size(), zentrix::kFiveToneRecordLength);
      env.messageBox(QStringLiteral("5Ton Empfänger Laden"),
                     name + QStringLiteral(" ist Keine gültige 5Ton-Datei!"),
                     MessageBoxes::Icon::None);
      return 0;
    }
    const qint64 records = file.size() / zentrix::kFiveToneRecordLength;
    if (records > FiveToneTable::kUpperBound && env.diagnostics())
      env.skipped(name, Unit::Record, FiveToneTable::kUpperBound + 1,
                  QStringLiteral("Datensätze %1 bis %2 nicht geladen: die Tabelle fasst 2500")
                      .arg(FiveToneTable::kUpperBound + 1)
                      .arg(records));
    n = int(std::min<qint64>(records, FiveToneTable::kUpperBound));
    bytes = file.readUpTo(qint64(n) * zentrix::kFiveToneRecordLength);
  }
  for (int k = 1; k <= n; ++k)
    fiveTones.set(
        k, zentrix::readFiveTone(QByteArrayView(bytes).sliced(
               qsizetype(k - 1) * zentrix::kFiveToneRecordLength, zentrix::kFiveToneRecordLength)));
  if (n > 0)
    env.notice(formatDecimal(n) + QStringLiteral(" Melder (Zentrix) geladen."));
  return std::int16_t(n);
}

std::int16_t LoadZentrixPocsag(const LoaderEnvironment& env, const QString& name,
                               PocsagTable& pocsag) {
  const auto path = env.files().find(name);
  if (!path)
    return 0;
  QByteArray bytes;
  std::int16_t n = 0;
  {
    DataFile file(*path);
    if (file.size() % zentrix::kPocsagRecordLength != 0) {
      reportLength(env, name, file.size(), zentrix::kPocsagRecordLength);
      env.messageBox(QStringLiteral("POCSAG Empfänger Laden"),
                     QStringLiteral("Keine gültige POCSAG-Datei!"), MessageBoxes::Icon::None);
      return 0;
    }
    n = recordCount(file.size() / zentrix::kPocsagRecordLength, name);
    bytes = file.readUpTo(qint64(n) * zentrix::kPocsagRecordLength);
  }
  pocsag.resize(n + 10);
  for (int k = 1; k <= n; ++k)
    pocsag.set(k,
               zentrix::readPocsag(QByteArrayView(bytes).sliced(
                   qsizetype(k - 1) * zentrix::kPocsagRecordLength, zentrix::kPocsagRecordLength)));
  if (n > 0)
    env.notice(formatDecimal(n) + QStringLiteral(" DME (Zentrix) geladen."));
  return n;
}

} // namespace meldlux
