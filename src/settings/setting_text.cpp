// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/setting_text.h"

#include "base/failure.h"

#include <QLocale>
#include <cmath>

namespace meldlux {

namespace {

QString trimmed(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
    ++begin;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
    --end;
  return text.mid(begin, end - begin);
}

} // namespace

QString SettingText::fromBoolean(bool value) {
  return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool SettingText::toBoolean(const QString& text) {
  const QString word = trimmed(text);
  // A store written on a German Windows holds its words for them.
  if (word.compare(u"True", Qt::CaseInsensitive) == 0 ||
      word.compare(u"Wahr", Qt::CaseInsensitive) == 0)
    return true;
  if (word.compare(u"False", Qt::CaseInsensitive) == 0 ||
      word.compare(u"Falsch", Qt::CaseInsensitive) == 0)
    return false;
  bool ok = false;
  const double number = QLocale::c().toDouble(word, &ok);
  if (!ok || !std::isfinite(number))
    throw Failure(QStringLiteral("Typen unverträglich: \"%1\" ist kein Wahrheitswert").arg(text));
  return number != 0;
}

double SettingText::toDecimal(const QString& text) {
  QString number = trimmed(text);
  if (number.contains(u',') && !number.contains(u'.'))
    number.replace(u',', u'.');
  bool ok = false;
  const double value = QLocale::c().toDouble(number, &ok);
  if (!ok || !std::isfinite(value))
    throw Failure(QStringLiteral("Typen unverträglich: \"%1\" ist keine Zahl").arg(text));
  return value;
}

} // namespace meldlux
