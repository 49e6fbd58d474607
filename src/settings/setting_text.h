// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

// The text forms of the settings that are neither plain text nor whole numbers.
struct SettingText {
  // A Boolean is written as "True" or "False".
  static QString fromBoolean(bool value);
  // Reads "True" / "False" or "Wahr" / "Falsch" in any letter case, or a number (0 is false, any
  // other true), blanks around it allowed. Anything else cannot be converted and throws Failure.
  static bool toBoolean(const QString& text);

  // A decimal number such as a font size, written with "." (formatDecimal) and read with "." or,
  // as a file from a German system may hold it, ",". Blanks around it are allowed; anything else,
  // or a number that is not finite, cannot be converted and throws Failure.
  static double toDecimal(const QString& text);
};

} // namespace meldlux
