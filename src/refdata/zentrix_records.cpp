// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/zentrix_records.h"

#include "base/cp1252.h"
#include "base/failure.h"

#include <QtEndian>

namespace meldlux::zentrix {

namespace {

void checkLength(QByteArrayView record, int length) {
  if (record.size() != length)
    throw Failure(QStringLiteral("Datensatz mit %1 statt %2 Bytes").arg(record.size()).arg(length));
}

template <int W> FixedText<W> textAt(QByteArrayView record, int offset) {
  FixedText<W> field;
  field.store(cp1252::decode(record.sliced(offset, W)));
  return field;
}

std::int32_t int32At(QByteArrayView record, int offset) {
  return qFromLittleEndian<qint32>(record.data() + offset);
}

template <int W> void putText(QByteArray& out, int offset, const FixedText<W>& field) {
  const QByteArray bytes = cp1252::encode(field.view());
  out.replace(offset, W, bytes);
}

void putInt32(QByteArray& out, int offset, std::int32_t value) {
  qToLittleEndian<qint32>(value, out.data() + offset);
}

// Raw further fields: as read, or zeros when never loaded.
void putFurther(QByteArray& out, int offset, const QByteArray& further) {
  const int width = int(out.size()) - offset;
  out.replace(offset, std::min<int>(width, int(further.size())), further.left(width));
  out.resize(offset + width);
}

} // namespace

FiveToneRecord readFiveTone(QByteArrayView record) {
  checkLength(record, kFiveToneRecordLength);
  return {textAt<5>(record, 0), textAt<50>(record, 5)};
}

VehicleRecord readVehicle(QByteArrayView record) {
  checkLength(record, kVehicleRecordLength);
  VehicleRecord out;
  out.identifier = textAt<8>(record, 0);
  out.name = textAt<30>(record, 8);
  out.info = textAt<50>(record, 38);
  out.further = record.sliced(kVehicleFurtherOffset).toByteArray();
  return out;
}

PocsagRecord readPocsag(QByteArrayView record) {
  checkLength(record, kPocsagRecordLength);
  PocsagRecord out;
  out.ric = int32At(record, 0);
  out.subAddress = int32At(record, 4);
  out.name = textAt<50>(record, 8);
  out.further = record.sliced(kPocsagFurtherOffset).toByteArray();
  return out;
}

FollowUpRecord readFollowUp(QByteArrayView record) {
  checkLength(record, kFollowUpRecordLength);
  return {qFromLittleEndian<qint16>(record.data()), cp1252::decode(record.sliced(2, 50))};
}

QString readStatusText(QByteArrayView record) {
  checkLength(record, kStatusRecordLength);
  return cp1252::decode(record);
}

QByteArray writeFiveTone(const FiveToneRecord& record) {
  QByteArray out(kFiveToneRecordLength, '\0');
  putText(out, 0, record.code);
  putText(out, 5, record.name);
  return out;
}

QByteArray writeVehicle(const VehicleRecord& record) {
  QByteArray out(kVehicleRecordLength, '\0');
  putText(out, 0, record.identifier);
  putText(out, 8, record.name);
  putText(out, 38, record.info);
  putFurther(out, kVehicleFurtherOffset, record.further);
  return out;
}

QByteArray writePocsag(const PocsagRecord& record) {
  QByteArray out(kPocsagRecordLength, '\0');
  putInt32(out, 0, record.ric);
  putInt32(out, 4, record.subAddress);
  putText(out, 8, record.name);
  putFurther(out, kPocsagFurtherOffset, record.further);
  return out;
}

QByteArray writeFollowUp(std::int16_t number, QStringView name, char pad) {
  QByteArray out(kFollowUpRecordLength, pad);
  qToLittleEndian<qint16>(number, out.data());
  const QByteArray bytes = cp1252::encode(name.left(50));
  out.replace(2, bytes.size(), bytes);
  return out;
}

QByteArray writeStatusText(QStringView text) {
  QByteArray out(kStatusRecordLength, ' ');
  const QByteArray bytes = cp1252::encode(text.left(kStatusRecordLength));
  out.replace(0, bytes.size(), bytes);
  return out;
}

} // namespace meldlux::zentrix
