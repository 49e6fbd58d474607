// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_export.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace meldlux {

namespace {

QString field(const QString& text) {
  if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
      !text.contains(u'\r'))
    return text;
  QString quoted = text;
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

QString directionName(JournalDirection d) {
  switch (d) {
  case JournalDirection::FromVehicle: return QStringLiteral("Fahrzeug");
  case JournalDirection::FromControl: return QStringLiteral("Leitstelle");
  case JournalDirection::None: break;
  }
  return {};
}

} // namespace

QString germanDateTime(OleDate date) {
  return fromOleDate(date).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QByteArray csvHeader() {
  return QByteArrayLiteral("\xEF\xBB\xBF") +
         QByteArrayLiteral("Ankunft;Telegrammzeit;Art;Kennung;Name;Status;Richtung;Text;Zeile;Farbe\r\n");
}

namespace {

QByteArray row(const JournalEntry& e, const QString& kind, const QString& identifier,
               const QString& colour) {
  const QStringList fields{germanDateTime(e.arrival),
                           germanDateTime(e.telegramTime),
                           field(kind),
                           field(identifier),
                           field(e.name),
                           e.status < 0 ? QString() : QString::number(e.status),
                           directionName(e.direction),
                           field(e.message),
                           field(e.line),
                           colour};
  return (fields.join(u';') + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

QByteArray csvRow(const JournalEntry& e) {
  return row(e, journalKindName(e.kind), e.identifier, QString::number(e.colour));
}

QByteArray csvRowForSpreadsheet(const JournalEntry& e, const QString& kind) {
  QString identifier = e.identifier;
  identifier.replace(u'"', QStringLiteral("\"\""));
  const auto byte = [&](int shift) { return (e.colour >> shift) & 0xff; };
  return row(e, kind, QStringLiteral("=\"%1\"").arg(identifier),
             QStringLiteral("#%1%2%3")
                 .arg(byte(0), 2, 16, QChar(u'0'))
                 .arg(byte(8), 2, 16, QChar(u'0'))
                 .arg(byte(16), 2, 16, QChar(u'0'))
                 .toUpper());
}

QByteArray jsonLine(const JournalEntry& e) {
  QJsonObject o{{"id", qint64(e.id)},
                {"arrival", isoWithOffset(fromOleDate(e.arrival))},
                {"telegram_time", isoWithOffset(fromOleDate(e.telegramTime))},
                {"kind", journalKindName(e.kind)},
                {"identifier", e.identifier},
                {"name", e.name},
                {"message", e.message},
                {"line", e.line},
                {"colour", e.colour}};
  if (e.status >= 0)
    o.insert("status", e.status);
  if (e.direction != JournalDirection::None)
    o.insert("direction", directionName(e.direction));
  return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace meldlux
