// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_store.h"
#include "speech/spoken_words.h"
#include "support/event_log_file.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

TEST(SpokenWords, SaysCodesDigitByDigitNumbersAsNumbersAndTheTablesWords) {
  const SpokenWords words;
  const std::pair<const char*, const char*> cases[] = {
      {"21001", "zwei eins null null eins"},
      {"FF 1/44-1", "Feuerwehr eins vierundvierzig eins"},
      {"RTW 3, NEF 21", "Rettungswagen drei, Notarzteinsatzfahrzeug einundzwanzig"},
      {"FFW Süd", "FFW Süd"}, // whole words only
      {"um 14:05, 08:00", "um vierzehn Uhr fünf, acht Uhr"},
      {"07 70 99 15", "null sieben siebzig neunundneunzig fünfzehn"},
      {"THL1 B3 Ü2", "THL eins B drei Ü zwei"}, // a keyword's number is a word of its own
  };
  for (const auto& [written, spoken] : cases)
    EXPECT_EQ(words.say(QString::fromUtf8(written)), QString::fromUtf8(spoken)) << written;
}

TEST(SpokenWords, TheStoredTableTakesThePlaceOfTheBuiltInOne) {
  QTemporaryDir dir;
  SettingsStore store(dir.path());
  EXPECT_EQ(SpokenWords::load(store).say(QStringLiteral("FF")), u"Feuerwehr");
  store.write(SettingsStore::kApplication, QStringLiteral("Aussprache"), QStringLiteral("Wort1"),
              QStringLiteral("FF = Freiwillige Feuerwehr"));
  store.write(SettingsStore::kApplication, QStringLiteral("Aussprache"), QStringLiteral("Wort2"),
              QStringLiteral("kein Paar"));
  const SpokenWords words = SpokenWords::load(store);
  EXPECT_EQ(words.table().size(), 1u);
  EXPECT_EQ(words.say(QStringLiteral("FF RTW")), u"Freiwillige Feuerwehr RTW");
}
