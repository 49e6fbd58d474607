// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech/speech_settings.h"

#include <QList>
#include <QString>

namespace meldlux {

// What the Windows system voice (SAPI) is told from the settings, apart from SAPI itself: which
// installed voice, how fast, how loud.
class SapiChoice {
public:
  struct Installed {
    QString name;         // as the system lists it, "Microsoft Hedda Desktop - German"
    QList<int> languages; // Windows language ids, 0x407 German (Germany)
  };

  // The index of the voice to use, or -1 with why in `fault`. A setting that names a language
  // ("de", the default, also "de-AT" or espeak's "de+m3") takes the first German voice; any other
  // takes the first voice whose name contains it, letter case aside.
  static int voice(const QList<Installed>& installed, const QString& wanted, QString& fault);
  // Words per minute to SAPI's rate -10 to 10, where each step is a factor of 3^(1/10) and 0 is
  // the voice's own speed, taken as our default of 150 words a minute.
  static int rate(int wordsPerMinute);
  // Our 0 to 200 per cent to SAPI's 0 to 100: SAPI cannot go above the voice's own loudness.
  static int volume(int percent);
  // The ids of a token's "Language" attribute, hex numbers separated by ';' ("407;409").
  static QList<int> languages(const QString& attribute);
};

} // namespace meldlux
