// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/options.h"

#include "base/numbers.h"

namespace meldlux {

Options::Options(QObject* parent) : QObject(parent) {
  // The window's design state: the settings' defaults, the auto-connect box unticked.
  texts_[index(Text::txtSrv)] = QStringLiteral("127.0.0.1");
  texts_[index(Text::txtSrvPort)] = QStringLiteral("7778");
  texts_[index(Text::txtKeepalive)] = QStringLiteral("300");
  texts_[index(Text::txtMsgOnly)] =
      QStringLiteral("000;001;002;003;004;005;006;007;008;009;015;106;110");
  texts_[index(Text::txtMsgTime)] = QStringLiteral("30");
  texts_[index(Text::txtMsgLines)] = QStringLiteral("1");
  texts_[index(Text::txtMsgBreite)] = QStringLiteral("100");
  texts_[index(Text::txtMsgLinks)] = QStringLiteral("0");
  texts_[index(Text::txtReClickHide)] = QStringLiteral("20");
  for (Check box : {Check::chkMsgAktiv, Check::chkMsgVorne, Check::chkReClickHide,
                    Check::chkUnbekFME, Check::chkUnbekFMS, Check::chkSW, Check::chkES,
                    Check::chkSysTray})
    checks_[index(box)] = 1;
}

void Options::setText(Text box, const QString& text) {
  if (texts_[index(box)] == text)
    return;
  texts_[index(box)] = text;
  runChangeRule(box);
  Q_EMIT textChanged(box);
}

double Options::number(Text box) const { return leadingNumber(text(box)); }

void Options::setValue(Check box, int value) {
  if (checks_[index(box)] == value)
    return;
  checks_[index(box)] = value;
  if (box == Check::chkSysTray)
    InTray = value != 0;
  Q_EMIT clicked(box);
}

void Options::OptPosition_Click(int element) {
  selectedPosition_ = element == 1 ? 1 : 0;
  PopupPosition = std::int16_t(selectedPosition_);
  Q_EMIT positionClicked(selectedPosition_);
}

void Options::setPasswordChar(const QString& maskChar) {
  // A character beyond the BMP takes two UTF-16 units; half of it would not survive being saved.
  const bool pair = maskChar.size() >= 2 && maskChar[0].isHighSurrogate() &&
                    maskChar[1].isLowSurrogate();
  const QString first = maskChar.left(pair ? 2 : 1);
  if (passwordChar_ == first)
    return;
  passwordChar_ = first;
  Q_EMIT passwordCharChanged();
}

void Options::txtPW_DblClick() {
  setPasswordChar(passwordChar_ != QStringLiteral("*") ? QStringLiteral("*") : QString());
}

Colour Options::contrastTextColour(Colour background) {
  const auto bits = std::uint32_t(background);
  const std::uint32_t sum = (bits & 0xFF) + ((bits >> 8) & 0xFF) + ((bits >> 16) & 0xFF);
  return sum > 384 ? 0 : 16777215;
}

void Options::setSampleColour(Colour background) {
  const Colour fore = contrastTextColour(background);
  if (sampleBackColor_ == background && sampleForeColor_ == fore)
    return;
  sampleBackColor_ = background;
  sampleForeColor_ = fore;
  Q_EMIT sampleColourChanged();
}

void Options::txtKeepalive_LostFocus() {
  if (number(Text::txtKeepalive) > 0 && number(Text::txtKeepalive) <= 30)
    setText(Text::txtKeepalive, QStringLiteral("30"));
  if (number(Text::txtKeepalive) > 86400)
    setText(Text::txtKeepalive, QStringLiteral("86400"));
}

void Options::runChangeRule(Text box) {
  switch (box) {
  case Text::txtMsgLines:
    keepInRange(box, 1, "1", 30, "30");
    break;
  case Text::txtMsgTime:
    keepInRange(box, 0, "0", 65, "65");
    break;
  case Text::txtKeepalive:
    if (number(box) == 0)
      setText(box, QStringLiteral("0"));
    break;
  case Text::txtMsgBreite:
    commaToPoint(box);
    takePercent(box, PopupWidthPercent);
    Q_EMIT popupWidthPercentChanged();
    break;
  case Text::txtMsgLinks:
    commaToPoint(box);
    takePercent(box, PopupLeftPercent);
    Q_EMIT popupLeftPercentChanged();
    break;
  default:
    break;
  }
}

void Options::keepInRange(Text box, double below, const char* belowText, double above,
                          const char* aboveText) {
  if (number(box) < below)
    setText(box, QString::fromLatin1(belowText));
  if (number(box) > above)
    setText(box, QString::fromLatin1(aboveText));
}

void Options::commaToPoint(Text box) {
  if (text(box).contains(u','))
    setText(box, QString(text(box)).replace(u',', u'.')); // same length: the caret stays put
}

void Options::takePercent(Text box, float& percent) {
  // A number beyond single precision (say "1e99") cannot be a percentage: the popup keeps its
  // size rather than taking an infinite one.
  if (fitsSingle(number(box)))
    percent = float(number(box));
}

} // namespace meldlux
