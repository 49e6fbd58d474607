// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/watch_settings.h"

#include "settings/settings_store.h"

namespace meldlux {

namespace {

const QString kSection = QStringLiteral("Überwachung");
const QString kConnection = QStringLiteral("VerbindungWarnenNach");
const QString kRepeat = QStringLiteral("WarnungWiederholen");
const QString kSilence = QStringLiteral("StilleWarnenNach");
const QString kExpected = QStringLiteral("Erwartet");
const QString kSound = QStringLiteral("WarnungSound");

QString application() { return QString::fromLatin1(SettingsStore::kApplication); }

int readCount(const SettingsStore& store, const QString& key, int fallback) {
  bool ok = false;
  const int value =
      store.read(application(), kSection, key, QString::number(fallback)).trimmed().toInt(&ok);
  return ok && value >= 0 ? value : fallback;
}

} // namespace

QList<ExpectedTelegram> parseExpected(const QString& text, QStringList* problems) {
  QList<ExpectedTelegram> entries;
  const auto complain = [problems](const QString& why) {
    if (problems)
      problems->append(why);
  };
  for (const QString& part : text.split(u';', Qt::SkipEmptyParts)) {
    const QString item = part.trimmed();
    if (item.isEmpty())
      continue;
    const qsizetype equals = item.indexOf(u'=');
    if (equals < 0) {
      complain(QStringLiteral("\u201E%1\u201C: kein \u201E=\u201C").arg(item));
      continue;
    }
    const QString code = item.left(equals).trimmed();
    bool ok = false;
    const int minutes = item.mid(equals + 1).trimmed().toInt(&ok);
    if (code.isEmpty())
      complain(QStringLiteral("\u201E%1\u201C: keine Kennung").arg(item));
    else if (!ok || minutes <= 0)
      complain(QStringLiteral("\u201E%1\u201C: keine Minutenzahl").arg(item));
    else
      entries.append({code, minutes});
  }
  return entries;
}

WatchSettings readWatchSettings(const SettingsStore& store) {
  WatchSettings s;
  s.connectionWarnSeconds = readCount(store, kConnection, s.connectionWarnSeconds);
  s.repeatMinutes = readCount(store, kRepeat, s.repeatMinutes);
  s.silenceWarnSeconds = readCount(store, kSilence, s.silenceWarnSeconds);
  s.expectedText = store.read(application(), kSection, kExpected, {}).trimmed();
  s.soundFile = store.read(application(), kSection, kSound, {}).trimmed();
  return s;
}

void writeWatchSettings(SettingsStore& store, const WatchSettings& s) {
  store.write(application(), {{kSection, kConnection, QString::number(s.connectionWarnSeconds)},
                              {kSection, kRepeat, QString::number(s.repeatMinutes)},
                              {kSection, kSilence, QString::number(s.silenceWarnSeconds)},
                              {kSection, kExpected, s.expectedText.trimmed()},
                              {kSection, kSound, s.soundFile.trimmed()}});
}

} // namespace meldlux
