// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class QLabel;
class QRadioButton;

namespace meldlux {

class Options;
class PopupChoosers;

// The "Telegrammleiste" frame of the options window: every option of the popup, bound to the
// model, and the two choosers for its font and background.
class TelegramBarFrame : public QGroupBox {
  Q_OBJECT
public:
  TelegramBarFrame(Options& options, PopupChoosers& choosers, QWidget* parent = nullptr);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void showPosition();
  void showSampleColour();

  Options& options_;
  PopupChoosers& choosers_;
  QRadioButton* optPosition_[2] = {};
  QLabel* lblFarbe_ = nullptr;
};

} // namespace meldlux
