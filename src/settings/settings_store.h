#pragma once

#include <QString>

namespace meldlux {

// The per-user settings store: (application, section, key) -> string, with a default on read.
// On Windows the registry area of the classic program-settings functions; elsewhere one INI-style
// file per application, <config>/meldlux/<application>.ini, whose values are kept verbatim.
class SettingsStore {
public:
  static constexpr const char* kApplication = "MeldluxWBR";
  static constexpr const char* kZentrix = "Zentrix"; // the first server product's keys, read only

  SettingsStore();
  ~SettingsStore();

  QString read(const QString& application, const QString& section, const QString& key,
               const QString& defaultValue) const;
  void write(const QString& application, const QString& section, const QString& key,
             const QString& value);
};

} // namespace meldlux
