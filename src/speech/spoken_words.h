// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace meldlux {

class SettingsStore;

// What the voice says for what is written: the user's table of words ("FF" as "Feuerwehr"),
// then the numbers in German words. Numbers of three digits and more are codes, read digit by
// digit ("21001": "zwei eins null null eins"); shorter ones as numbers ("44": "vierundvierzig");
// "/" and "-" between numbers are left out ("1/44-1": "eins vierundvierzig eins"), and a time
// "14:05" is "vierzehn Uhr fünf", "14:00" "vierzehn Uhr".
class SpokenWords {
public:
  using Pair = std::pair<QString, QString>; // written, spoken
  SpokenWords();                            // the built-in table
  explicit SpokenWords(std::vector<Pair> table) : table_(std::move(table)) {}

  const std::vector<Pair>& table() const { return table_; }
  QString say(const QString& text) const;

  // Section [Aussprache], keys Wort1..WortN as "written=spoken"; the built-in table while the
  // section holds none. Lines without "=" are passed over.
  static SpokenWords load(const SettingsStore& store);
  // Wort1..WortN; the keys after the last pair are emptied.
  void save(SettingsStore& store) const;

  static QString numberWords(int value); // 0 to 99

private:
  std::vector<Pair> table_;
};

} // namespace meldlux
