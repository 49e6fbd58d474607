// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/spoken_words.h"

#include "base/replace_each.h"
#include "settings/settings_store.h"

#include <QRegularExpression>

namespace meldlux {

namespace {

const QString kSection = QStringLiteral("Aussprache");
constexpr int kMostWords = 200;

const char* const kOnes[] = {"null",     "eins",     "zwei",     "drei",     "vier",
                             "fünf",     "sechs",    "sieben",   "acht",     "neun",
                             "zehn",     "elf",      "zwölf",    "dreizehn", "vierzehn",
                             "fünfzehn", "sechzehn", "siebzehn", "achtzehn", "neunzehn"};
const char* const kTens[] = {"",        "",        "zwanzig", "dreißig", "vierzig",
                             "fünfzig", "sechzig", "siebzig", "achtzig", "neunzig"};

QString digitWords(QStringView digits) {
  QStringList words;
  for (QChar d : digits)
    words << SpokenWords::numberWords(d.digitValue());
  return words.join(u' ');
}

QString wholeWord(const QString& written) {
  return QStringLiteral("(?<![\\w])") + QRegularExpression::escape(written) +
         QStringLiteral("(?![\\w])");
}

} // namespace

SpokenWords::SpokenWords()
    : table_{{QStringLiteral("FF"), QStringLiteral("Feuerwehr")},
             {QStringLiteral("FW"), QStringLiteral("Feuerwehr")},
             {QStringLiteral("RTW"), QStringLiteral("Rettungswagen")},
             {QStringLiteral("KTW"), QStringLiteral("Krankentransportwagen")},
             {QStringLiteral("NEF"), QStringLiteral("Notarzteinsatzfahrzeug")},
             {QStringLiteral("ELW"), QStringLiteral("Einsatzleitwagen")},
             {QStringLiteral("HLF"), QStringLiteral("Hilfeleistungslöschfahrzeug")},
             {QStringLiteral("LF"), QStringLiteral("Löschfahrzeug")},
             {QStringLiteral("DLK"), QStringLiteral("Drehleiter")},
             {QStringLiteral("BMA"), QStringLiteral("Brandmeldeanlage")},
             {QStringLiteral("VU"), QStringLiteral("Verkehrsunfall")}} {}

QString SpokenWords::numberWords(int value) {
  if (value < 0 || value > 99)
    return QString::number(value);
  if (value < 20)
    return QString::fromUtf8(kOnes[value]);
  const int ones = value % 10;
  const QString tens = QString::fromUtf8(kTens[value / 10]);
  if (ones == 0)
    return tens;
  return (ones == 1 ? QStringLiteral("ein") : QString::fromUtf8(kOnes[ones])) +
         QStringLiteral("und") + tens;
}

QString SpokenWords::say(const QString& text) const {
  QString result = text;
  for (const auto& [written, spoken] : table_) {
    if (!written.isEmpty())
      result.replace(QRegularExpression(wholeWord(written)), spoken);
  }
  static const QRegularExpression time(QStringLiteral("(?<!\\d)(\\d{1,2}):(\\d{2})(?!\\d)"));
  static const QRegularExpression joint(QStringLiteral("(?<=\\d)\\s*[/-]\\s*(?=\\d)"));
  static const QRegularExpression digits(QStringLiteral("\\d+"));
  // "THL1" is the keyword THL and the number one: joined, the voice would make one word of it.
  static const QRegularExpression letterDigit(
      QStringLiteral("(?<=\\p{L})(?=\\d)|(?<=\\d)(?=\\p{L})"));
  result = replaceEach(result, time, [](const QRegularExpressionMatch& m) {
    const int minutes = m.captured(2).toInt();
    return QString::number(m.captured(1).toInt()) + QStringLiteral(" Uhr") +
           (minutes ? u' ' + QString::number(minutes) : QString());
  });
  result.replace(joint, QStringLiteral(" "));
  result.replace(letterDigit, QStringLiteral(" "));
  const QString spoken = replaceEach(result, digits, [](const QRegularExpressionMatch& m) {
    const QString number = m.captured();
    return number.size() >= 3 || (number.size() == 2 && number.front() == u'0')
               ? digitWords(number)
               : SpokenWords::numberWords(number.toInt());
  });
  return spoken.simplified();
}

SpokenWords SpokenWords::load(const SettingsStore& store) {
  std::vector<Pair> table;
  for (int i = 1; i <= kMostWords; ++i) {
    const QString line = store.read(SettingsStore::kApplication, kSection,
                                    QStringLiteral("Wort%1").arg(i), QString());
    const qsizetype equals = line.indexOf(u'=');
    if (equals > 0)
      table.emplace_back(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
  }
  return table.empty() ? SpokenWords() : SpokenWords(std::move(table));
}

void SpokenWords::save(SettingsStore& store) const {
  std::vector<SettingsStore::Entry> entries;
  for (int i = 1; i <= kMostWords; ++i) {
    const QString key = QStringLiteral("Wort%1").arg(i);
    const auto at = std::size_t(i - 1);
    const QString value =
        at < table_.size() ? table_[at].first + u'=' + table_[at].second : QString();
    if (!value.isEmpty() ||
        !store.read(SettingsStore::kApplication, kSection, key, QString()).isEmpty())
      entries.push_back({kSection, key, value});
  }
  store.write(SettingsStore::kApplication, entries);
}

} // namespace meldlux
