// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/zentrix_loaders.h"

#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "refdata/zentrix_records.h"
#include "tables/status_tables.h"

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

// A file of fixed-length records, read whole as far as the loader wants it.
struct RecordFile {
  enum class State { Absent, BadLength, Read };
  State state = State::Absent;
  int recordLength = 0;
  QByteArray bytes;

  int count() const { return int(bytes.size() / recordLength); }
  // Record k, counted from 1.
  QByteArrayView record(int k) const {
    return QByteArrayView(bytes).sliced(qsizetype(k - 1) * recordLength, recordLength);
  }
};

// Opens the named file and reads as many records as wanted(records in the file) says; wanted may
// throw to refuse a file before anything is read. A length that is no whole number of records
// is reported and nothing is read.
template <typename Wanted>
RecordFile readRecordFile(const LoaderEnvironment& env, const QString& name, int recordLength,
                          Wanted wanted) {
  RecordFile out;
  out.recordLength = recordLength;
  const auto path = env.files().find(name);
  if (!path)
    return out;
  DataFile file(*path);
  if (file.size() % recordLength != 0) {
    reportLength(env, name, file.size(), recordLength);
    out.state = RecordFile::State::BadLength;
    return out;
  }
  const qint64 records = wanted(file.size() / recordLength);
  out.bytes = file.readUpTo(records * recordLength);
  out.state = RecordFile::State::Read;
  return out;
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
  const RecordFile file =
      readRecordFile(env, name, zentrix::kFollowUpRecordLength,
                     [&](qint64 records) { return recordCount(records, name); });
  const int n = file.count();
  for (int k = 1; k <= n; ++k) {
    const auto record = zentrix::readFollowUp(file.record(k));
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
  return std::int16_t(n);
}

std::int16_t LoadZentrixVehicles(const LoaderEnvironment& env, const QString& name,
                                 VehicleTable& vehicles) {
  vehicles.resize(100);
  vehicles.clear(1, 100);
  const RecordFile file =
      readRecordFile(env, name, zentrix::kVehicleRecordLength,
                     [&](qint64 records) { return recordCount(records, name); });
  if (file.state == RecordFile::State::BadLength)
    env.messageBox(QStringLiteral("Fahrzeuge Laden"),
                   QStringLiteral("Keine gültige Fahrzeug DAT-Datei!"), MessageBoxes::Icon::Error);
  if (file.state != RecordFile::State::Read)
    return 0;
  const int n = file.count();
  vehicles.resize(n + 10);
  vehicles.clear(1, n + 10);
  for (int k = 1; k <= n; ++k)
    vehicles.set(k, zentrix::readVehicle(file.record(k)));
  if (n > 0)
    env.notice(formatDecimal(n) + QStringLiteral(" Fahrzeuge (Zentrix) geladen."));
  return std::int16_t(n);
}

std::int16_t LoadZentrixFiveTones(const LoaderEnvironment& env, const QString& name,
                                  FiveToneTable& fiveTones) {
  const RecordFile file =
      readRecordFile(env, name, zentrix::kFiveToneRecordLength, [&](qint64 records) {
        if (records > FiveToneTable::kUpperBound && env.diagnostics())
          env.skipped(name, Unit::Record, FiveToneTable::kUpperBound + 1,
                      QStringLiteral("Datensätze %1 bis %2 nicht geladen: die Tabelle fasst 2500")
                          .arg(FiveToneTable::kUpperBound + 1)
                          .arg(records));
        return std::min<qint64>(records, FiveToneTable::kUpperBound);
      });
  if (file.state == RecordFile::State::BadLength)
    env.messageBox(QStringLiteral("5Ton Empfänger Laden"),
                   name + QStringLiteral(" ist Keine gültige 5Ton-Datei!"),
                   MessageBoxes::Icon::None);
  const int n = file.count();
  for (int k = 1; k <= n; ++k)
    fiveTones.set(k, zentrix::readFiveTone(file.record(k)));
  if (n > 0)
    env.notice(formatDecimal(n) + QStringLiteral(" Melder (Zentrix) geladen."));
  return std::int16_t(n);
}

std::int16_t LoadZentrixPocsag(const LoaderEnvironment& env, const QString& name,
                               PocsagTable& pocsag) {
  const RecordFile file =
      readRecordFile(env, name, zentrix::kPocsagRecordLength,
                     [&](qint64 records) { return recordCount(records, name); });
  if (file.state == RecordFile::State::BadLength)
    env.messageBox(QStringLiteral("POCSAG Empfänger Laden"),
                   QStringLiteral("Keine gültige POCSAG-Datei!"), MessageBoxes::Icon::None);
  if (file.state != RecordFile::State::Read)
    return 0;
  const int n = file.count();
  pocsag.resize(n + 10);
  for (int k = 1; k <= n; ++k)
    pocsag.set(k, zentrix::readPocsag(file.record(k)));
  if (n > 0)
    env.notice(formatDecimal(n) + QStringLiteral(" DME (Zentrix) geladen."));
  return std::int16_t(n);
}

} // namespace meldlux
