// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

namespace meldlux {

// Appends one line per observable event to the file named by MELDLUX_EVENT_LOG: kind and fields
// separated by TAB, UTF-8, LF-terminated, flushed at once. Off (and free) when no file is named.
class EventLog {
public:
  EventLog() = default; // off
  explicit EventLog(const QString& path);
  static std::unique_ptr<EventLog> fromEnvironment();

  bool enabled() const { return file_ != nullptr; }
  void write(QStringView kind, const QStringList& fields = {});

  // Backslash, TAB, CR and LF inside a field become \\, \t, \r and \n; every other control
  // character (U+0000-U+001F, U+007F-U+009F) becomes \xNN, two lowercase hex digits.
  static QString escape(QStringView field);

private:
  std::unique_ptr<QFile> file_;
};

} // namespace meldlux
