// SPDX-License-Identifier: GPL-3.0-or-later
#include "telegrams/fms_identifier.h"

#include "base/failure.h"
#include "base/numbers.h"
#include "tables/status_tables.h"

namespace meldlux {

namespace {

int hexValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}

constexpr qsizetype kIdentifierLength = 8;

} // namespace

QString StripNul(QStringView text) {
  QString stripped = trimSpaces(text);
  stripped.remove(QChar(u'\0'));
  return stripped;
}

bool IsHexDigits(QStringView text) {
  for (const QChar c : text) {
    if (hexValue(c) < 0)
      return false;
  }
  return true;
}

int OrgIndex(QStringView identifier) {
  const int value = identifier.isEmpty() ? -1 : hexValue(identifier.front());
  if (value < 0)
    throw Failure(QStringLiteral("Typen unverträglich: \"%1\" ist keine BOS-Kennung")
                      .arg(identifier.left(1)));
  return value;
}

QString DecodeKennung(QString& identifier, const StatusTables& tables) {
  identifier = StripNul(identifier);
  const QString& s = identifier;
  if (s.size() != kIdentifierLength)
    return s;
  const QString prefix = tables.orgCodes.at(std::size_t(OrgIndex(s))) + u' ';
  if (s[1] == u'3' || s[1] == u'D') {
    QString result = prefix + s.mid(2, 2) + u'/' + s.mid(6, 2);
    result.replace(QStringLiteral("DRK"), QStringLiteral("BRK"));
    return result;
  }
  return prefix + s.mid(2, 2) + u' ' + s.mid(4, 2) + u'/' + s.mid(6, 2);
}

} // namespace meldlux
