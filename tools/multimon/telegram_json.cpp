// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegram_json.h"

#include "base/ole_date.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace meldlux::multimon {

namespace {

constexpr qsizetype kLongestPayload = 64 * 1024;

} // namespace

QByteArray TelegramJson::encode(const DecodedTelegram& telegram, const QString& id,
                                const QString& site, const QDateTime& time) {
  const QJsonObject object{
      {QStringLiteral("id"), id},
      {QStringLiteral("site"), site},
      {QStringLiteral("time"), isoWithOffset(time, Qt::ISODateWithMs)},
      {QStringLiteral("kind"), DecodedTelegram::kindName(telegram.kind)},
      {QStringLiteral("fields"), QJsonObject::fromVariantMap(telegram.fields)},
      {QStringLiteral("line"), telegram.wireLine()},
  };
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<TelegramJson::Received> TelegramJson::decode(const QByteArray& payload) {
  if (payload.size() > kLongestPayload)
    return std::nullopt;
  const QJsonDocument document = QJsonDocument::fromJson(payload);
  if (!document.isObject())
    return std::nullopt;
  const QJsonObject object = document.object();
  const QJsonValue id = object.value(QStringLiteral("id"));
  const QJsonValue line = object.value(QStringLiteral("line"));
  if (!id.isString() || id.toString().isEmpty() || !line.isString())
    return std::nullopt;
  Received received{id.toString(), line.toString()};
  // A line break would let a sender slip a second line (a login, "Exit") to the clients.
  if (received.line.isEmpty() || received.line.size() > kLongestLine ||
      received.line.contains(u'\r') || received.line.contains(u'\n') ||
      received.line.contains(QChar(0)))
    return std::nullopt;
  return received;
}

} // namespace meldlux::multimon
