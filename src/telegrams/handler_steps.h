// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"

#include <QString>
#include <cstdint>

namespace meldlux {

class Clock;
class Options;
class StatusLabel;
class TrayTip;
struct LinkState;

// What the four telegram handlers share: the telegram time default, the per-kind counters with
// the status line they feed, and the tray summary.
class HandlerSteps {
public:
  HandlerSteps(const Clock& clock, const LinkState& link, const Options& options,
               StatusLabel& status, TrayTip& trayTip);

  // A time of 0 means "now"; the caller's variable gets the time actually used.
  void defaultTime(OleDate& time) const;

  // Each counts one telegram and rewrites the status line at once, before anything is decided
  // about the telegram, so filtered and repeated telegrams are counted too.
  void countFms();
  void countFme();
  void countDme();

  // "Verbunden seit DD.MM.YY hh:mm:ss - Empfangen: N (FMS: n, FME: n, DME: n)"; the label's
  // colour stays as it is.
  void UpdateStatusLine();
  QString statusLineText() const;

  // While the program keeps a tray icon: TrayTipText = current time "hh:mm:ss" + " " + summary.
  void setTraySummary(const QString& summary);

  // Counters since program start, never reset.
  std::int32_t ReceivedFms = 0;
  std::int32_t ReceivedFme = 0;
  std::int32_t ReceivedDme = 0;

private:
  const Clock& clock_;
  const LinkState& link_;
  const Options& options_;
  StatusLabel& status_;
  TrayTip& trayTip_;
  mutable OleDate headSince_ = 0;
  mutable QString head_;
};

} // namespace meldlux
