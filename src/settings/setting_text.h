#pragma once

#include <QString>

namespace meldlux {

// The text forms of the settings that are neither plain text nor whole numbers.
struct SettingText {
  // A Boolean is written as "True" or "False".
  static QString fromBoolean(bool value);
  // Reads "True" / "False" in any letter case, or a number (0 is false, any other true), blanks
  // around it allowed. Anything else gives the fallback.
  static bool toBoolean(const QString& text, bool fallback);

  // A decimal number such as a font size, written with "." (formatDecimal) and read with "." or,
  // as a file from a German system may hold it, ",". Blanks around it are allowed; anything else,
  // or a number that is not finite, gives the fallback.
  static double toDecimal(const QString& text, double fallback);
};

} // namespace meldlux
