// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace meldlux {

class FontColourDialog;
class Options;
class PopupModel;

// The two choosers of the options window: cmdMsgSchrift picks the popup's font, lblFarbe its
// background colour. A cancelled or failed dialog changes nothing.
class PopupChoosers {
public:
  PopupChoosers(FontColourDialog& dialog, PopupModel& popup, Options& options);

  void cmdMsgSchrift_Click();
  void lblFarbe_Click();

private:
  FontColourDialog& dialog_;
  PopupModel& popup_;
  Options& options_;
};

} // namespace meldlux
