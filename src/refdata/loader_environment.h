// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "refdata/load_diagnostics.h"
#include "refdata/message_boxes.h"
#include "refdata/reference_files.h"

#include <QString>
#include <functional>

namespace meldlux {

class EventLog;
class Options;

// What every loader needs besides its table: where the files are, how to tell the user, and
// optionally whom to tell about skipped lines.
class LoaderEnvironment {
public:
  // notice shows a text in the popup (message line with the current time and the information
  // colour, popup laid out and its display timer started); it may be empty.
  LoaderEnvironment(const ReferenceFiles& files, const Options& options, MessageBoxes& boxes,
                    EventLog& log, std::function<void(const QString&)> notice = {},
                    LoadDiagnostics* diagnostics = nullptr);

  const ReferenceFiles& files() const { return files_; }
  LoadDiagnostics* diagnostics() const { return diagnostics_; }

  // Posted only while popup messages are on, read at this moment.
  void notice(const QString& text) const;
  // Logged as `messagebox`, then shown.
  void messageBox(const QString& title, const QString& text, MessageBoxes::Icon icon) const;
  void skipped(const QString& file, LoadDiagnostics::Unit unit, qint64 number,
               const QString& reason) const {
    if (diagnostics_)
      diagnostics_->skipped(file, unit, number, reason);
  }

private:
  const ReferenceFiles& files_;
  const Options& options_;
  MessageBoxes& boxes_;
  EventLog& log_;
  std::function<void(const QString&)> notice_;
  LoadDiagnostics* diagnostics_;
};

} // namespace meldlux
