// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#ifdef _WIN32

#include <optional>
#include <string>

namespace meldlux {

// String values under HKEY_CURRENT_USER, read and written as they are. Qt's registry store gives
// a value that begins with "@" a meaning of its own (it writes "@x" as "@@x" and reads
// "@Invalid()" as no value at all); the settings must stay exactly what the user typed and
// what other programs wrote.
class WindowsRegistry {
public:
  // A REG_SZ value; nothing when the key or the value is missing or of another type.
  static std::optional<std::u16string> readString(const std::u16string& keyPath,
                                                  const std::u16string& name);
  // Creates the key as needed and writes the value as REG_SZ; false when the registry refuses.
  static bool writeString(const std::u16string& keyPath, const std::u16string& name,
                          const std::u16string& value);
};

} // namespace meldlux

#endif
