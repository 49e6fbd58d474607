// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

class QSettings;

namespace meldlux {

// The per-user settings store: (application, section, key) -> string, with a default on read.
// On Windows the registry area of the classic program-settings functions, whose string values
// are read and written as they are (see WindowsRegistry); elsewhere one INI-style
// file per application, <config>/meldlux/<application>.ini, whose values are kept verbatim
// (see VerbatimIniFormat). <config> is $XDG_CONFIG_HOME, ~/.config when that is unset or not an
// absolute path; it is taken when the store is made.
class SettingsStore {
public:
  static constexpr const char* kApplication = "MeldluxWBR";
  static constexpr const char* kZentrix = "Zentrix"; // the first server product's keys, read only

  SettingsStore();
  // A store whose files lie in the given folder (ignored on Windows).
  explicit SettingsStore(const QString& folder);
  ~SettingsStore();

  // A missing key, a missing or unreadable store gives the default.
  QString read(const QString& application, const QString& section, const QString& key,
               const QString& defaultValue) const;
  // Writes at once and keeps every other key. A value is cut at its first line break. Nothing is
  // ever written under the first server product's application name.
  void write(const QString& application, const QString& section, const QString& key,
             const QString& value);
  struct Entry {
    QString section;
    QString key;
    QString value;
    bool operator==(const Entry&) const = default;
  };
  // The same for many keys, in their order, replacing the file once: a kill during a save
  // leaves either all old or all new values, and a slow disk is asked once.
  void write(const QString& application, const std::vector<Entry>& entries);
  // Temporary files that a kill during an earlier save left beside the application's file.
  void removeLeftOvers(const QString& application) const;
  // A file that holds NUL or other control bytes besides TAB, CR and LF (cut short by a power
  // failure, written over by something else) is damaged: a copy is kept beside it, dated by `now` as
  // "<application>.damaged-YYYY-MM-DD_hh-mm-ss.ini", while the store goes on reading what lines
  // it can (the rest take their defaults) and the next save writes it whole. Gives the copy's
  // path; empty when there was nothing to keep (no file, a sound one, the registry).
  QString keepCopyIfDamaged(const QString& application, const QDateTime& now) const;

  static bool isReadOnly(const QString& application);
  // The file behind an application (elsewhere than Windows).
  QString filePath(const QString& application) const;

private:
  std::unique_ptr<QSettings> open(const QString& application) const;

  QString folder_;
};

} // namespace meldlux
