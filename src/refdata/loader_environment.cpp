// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/loader_environment.h"

#include "base/event_log.h"
#include "state/options.h"

namespace meldlux {

LoaderEnvironment::LoaderEnvironment(const ReferenceFiles& files, const Options& options,
                                     MessageBoxes& boxes, EventLog& log,
                                     std::function<void(const QString&)> notice,
                                     LoadDiagnostics* diagnostics)
    : files_(files), options_(options), boxes_(boxes), log_(log), notice_(std::move(notice)),
      diagnostics_(diagnostics) {}

void LoaderEnvironment::notice(const QString& text) const {
  if (options_.checked(Check::chkMsgAktiv) && notice_)
    notice_(text);
}

void LoaderEnvironment::messageBox(const QString& title, const QString& text,
                                   MessageBoxes::Icon icon) const {
  log_.write(u"messagebox", {title, text});
  boxes_.show(title, text, icon);
}

} // namespace meldlux
