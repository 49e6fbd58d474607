// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/popup_option_rules.h"

#include "display/cleanup_tick.h"
#include "display/popup_model.h"
#include "state/options.h"

namespace meldlux {

PopupOptionRules::PopupOptionRules(Options& options, PopupModel& popup, CleanupTick& cleanup,
                                   QObject* parent)
    : QObject(parent), options_(options), popup_(popup), cleanup_(cleanup) {
  connect(&options_, &Options::clicked, this, &PopupOptionRules::clicked);
  connect(&options_, &Options::popupWidthPercentChanged, this,
          &PopupOptionRules::txtMsgBreite_Change);
  connect(&options_, &Options::popupLeftPercentChanged, this,
          &PopupOptionRules::txtMsgLinks_Change);
  // OptPosition needs nothing here: the popup reads PopupPosition the next time it is placed.
}

void PopupOptionRules::armPopup() {
  if (options_.checked(Check::chkMsgAktiv))
    popup_.setVisible(true);
  cleanup_.setEnabled(options_.checked(Check::chkMsgAktiv));
  chkSW_Click();
  chkES_Click();
}

void PopupOptionRules::settleInFront() {
  if (options_.checked(Check::chkMsgAktiv) && options_.checked(Check::chkMsgVorne))
    popup_.SetTopMost();
}

void PopupOptionRules::clicked(Check box) {
  switch (box) {
  case Check::chkMsgAktiv:
    chkMsgAktiv_Click();
    break;
  case Check::chkMsgVorne:
    chkMsgVorne_Click();
    break;
  case Check::chkReClickHide:
    chkReClickHide_Click();
    break;
  case Check::chkSW:
    chkSW_Click();
    break;
  case Check::chkES:
    chkES_Click();
    break;
  default:
    break;
  }
}

void PopupOptionRules::chkMsgAktiv_Click() {
  popup_.HiddenUntil = 0;
  const bool on = options_.checked(Check::chkMsgAktiv);
  popup_.setVisible(on);
  cleanup_.setEnabled(on);
}

void PopupOptionRules::chkMsgVorne_Click() {
  if (options_.checked(Check::chkMsgAktiv)) {
    if (options_.checked(Check::chkMsgVorne)) {
      popup_.setVisible(true);
      popup_.SetTopMost();
    } else {
      popup_.SetNotTopMost();
    }
  }
  popup_.HiddenUntil = 0;
}

void PopupOptionRules::chkReClickHide_Click() {
  if (!options_.checked(Check::chkReClickHide))
    popup_.HiddenUntil = 0;
}

void PopupOptionRules::chkSW_Click() {
  popup_.setIndicatorVisible(Indicator::Sprechwunsch, options_.checked(Check::chkSW));
}

void PopupOptionRules::chkES_Click() {
  popup_.setIndicatorVisible(Indicator::Spricht, options_.checked(Check::chkES));
}

void PopupOptionRules::txtMsgBreite_Change() {
  popup_.setWidth(popup_.percentOfScreen(options_.PopupWidthPercent));
}

void PopupOptionRules::txtMsgLinks_Change() {
  popup_.setLeft(popup_.percentOfScreen(options_.PopupLeftPercent));
}

} // namespace meldlux
