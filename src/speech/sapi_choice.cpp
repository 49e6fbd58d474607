// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi_choice.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace meldlux {

namespace {

constexpr int kGerman = 0x07; // the primary language of 0x407 (Germany), 0x807, 0xC07 and so on

bool namesALanguage(const QString& wanted) {
  return wanted.isEmpty() || (wanted.startsWith(u"de", Qt::CaseInsensitive) &&
                              (wanted.size() == 2 || !wanted.at(2).isLetter()));
}

} // namespace

int SapiChoice::voice(const QList<Installed>& installed, const QString& wanted, QString& fault) {
  const QString name = wanted.trimmed();
  const bool german = namesALanguage(name);
  for (int i = 0; i < installed.size(); ++i) {
    const Installed& v = installed.at(i);
    if (german ? std::any_of(v.languages.begin(), v.languages.end(),
                             [](int id) { return (id & 0x3ff) == kGerman; })
               : v.name.contains(name, Qt::CaseInsensitive))
      return i;
  }
  fault = german ? QStringLiteral("keine deutsche Stimme installiert")
                 : QStringLiteral("Stimme \"%1\" nicht gefunden").arg(name);
  return -1;
}

int SapiChoice::rate(int wordsPerMinute) {
  const double steps = 10.0 * std::log(std::max(wordsPerMinute, 1) / 150.0) / std::log(3.0);
  return std::clamp(int(std::lround(steps)), -10, 10);
}

int SapiChoice::volume(int percent) { return std::clamp(percent, 0, 100); }

QList<int> SapiChoice::languages(const QString& attribute) {
  QList<int> ids;
  for (const QString& part : attribute.split(u';', Qt::SkipEmptyParts)) {
    bool ok = false;
    const int id = part.trimmed().toInt(&ok, 16);
    if (ok)
      ids << id;
  }
  return ids;
}

} // namespace meldlux
