// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace meldlux {

class CleanupTick;
class Options;
class PopupModel;
enum class Check;

// The option controls' rules that act on the popup at once: popup on/off, in front, the
// right-click hold, the two indicators, and width and left edge.
class PopupOptionRules : public QObject {
  Q_OBJECT
public:
  PopupOptionRules(Options& options, PopupModel& popup, CleanupTick& cleanup,
                   QObject* parent = nullptr);

  // The last start-up step for the popup: shown and cleaned up while popup messages are on,
  // indicators as their boxes say.
  void armPopup();
  // Right after the boxes are loaded: their design state is ticked, so a stored "1" runs no rule
  // and nothing else would put the popup in front; both ticked do so here, as a click would.
  void settleInFront();

  void chkMsgAktiv_Click();
  void chkMsgVorne_Click();
  void chkReClickHide_Click();
  void chkSW_Click();
  void chkES_Click();
  void txtMsgBreite_Change();
  void txtMsgLinks_Change();

private:
  void clicked(Check box);

  Options& options_;
  PopupModel& popup_;
  CleanupTick& cleanup_;
};

} // namespace meldlux
