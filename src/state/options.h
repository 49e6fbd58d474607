// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

namespace meldlux {

// The option text boxes of the main window, by their control names.
enum class Text {
  txtSrv, txtSrvPort, txtPW, txtKeepalive,
  txtMsgOnly, txtMsgTime, txtMsgLines, txtMsgBreite, txtMsgLinks, txtReClickHide,
  txtSndAlarm, txtSndFzg, txtSndText, txtSndSA, txtSndSAKennung,
  Count
};

// The option check boxes of the main window, by their control names.
enum class Check {
  chkAuto,
  chkMsgAktiv, chkMsgVorne, chkHideRIC, chkReClickHide, chkUnbekFME, chkUnbekFMS, chkSW, chkES,
  chkSndAlarm, chkSndFzg, chkSndText, chkSndSA, chkSysTray,
  Count
};

// The main window's option controls, held the way the controls hold them (text of a text box,
// 0/1 of a check box, the selected option button), plus the runtime copies of a few settings.
// Rules elsewhere read these values at the moment of use. The controls' own change rules run on
// every change, whoever makes it; rules that act on other subsystems are announced by signals.
class Options : public QObject {
  Q_OBJECT
public:
  explicit Options(QObject* parent = nullptr);

  const QString& text(Text box) const { return texts_[index(box)]; }
  // Sets a text box; when the text differs, the box's change rule runs and textChanged follows.
  void setText(Text box, const QString& text);
  // The leading-number value of a text box.
  double number(Text box) const;

  // A box holds the number it was given, so that a stored "2" is saved back as "2"; any value
  // other than 0 ticks it.
  int value(Check box) const { return checks_[index(box)]; }
  bool checked(Check box) const { return value(box) != 0; }
  // Sets a check box; a change fires clicked, as a user's click would.
  void setValue(Check box, int value);
  void setChecked(Check box, bool on) { setValue(box, on ? 1 : 0); }

  // OptPosition: element 0 "Oben", element 1 "Unten". Clicking sets PopupPosition.
  int selectedPosition() const { return selectedPosition_; }
  void OptPosition_Click(int element);

  // Masking character of txtPW: "*" or empty (password shown in clear). A box masks with one
  // character, so only the first one of a longer text is kept.
  const QString& passwordChar() const { return passwordChar_; }
  void setPasswordChar(const QString& maskChar);
  void txtPW_DblClick();

  // lblFarbe, the colour sample: the popup's background colour, with a text colour that stays
  // readable on it.
  Colour sampleBackColor() const { return sampleBackColor_; }
  Colour sampleForeColor() const { return sampleForeColor_; }
  void setSampleColour(Colour background);
  // Black on a light colour (byte sum R + G + B above 384), white otherwise.
  static Colour contrastTextColour(Colour background);

  // Leaving the keepalive box clamps 1..30 to 30 and anything above a day to 86400.
  void txtKeepalive_LostFocus();

  // Runtime copies fed by the settings store.
  float PopupWidthPercent = 100.0f;
  float PopupLeftPercent = 0.0f;
  std::int16_t PopupPosition = 0; // 0 top, 1 bottom
  bool InTray = true;
  std::int16_t SuppressSeconds = 60;

Q_SIGNALS:
  void textChanged(meldlux::Text box);
  void clicked(meldlux::Check box);
  void positionClicked(int element);
  void passwordCharChanged();
  void sampleColourChanged();
  // txtMsgBreite / txtMsgLinks changed the percentage: the popup follows at once.
  void popupWidthPercentChanged();
  void popupLeftPercentChanged();

private:
  template <typename E> static constexpr std::size_t index(E e) { return std::size_t(e); }
  void runChangeRule(Text box);
  void keepInRange(Text box, double below, const char* belowText, double above,
                   const char* aboveText);
  void commaToPoint(Text box);
  void takePercent(Text box, float& percent);

  std::array<QString, std::size_t(Text::Count)> texts_;
  std::array<int, std::size_t(Check::Count)> checks_{};
  int selectedPosition_ = 0;
  QString passwordChar_;
  Colour sampleBackColor_ = 0;        // the default popup background, black ...
  Colour sampleForeColor_ = 16777215; // ... with white text
};

} // namespace meldlux
