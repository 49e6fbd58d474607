// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/popup_label_window.h"
#include "state/indicators.h"

#include <QWidget>
#include <vector>

namespace meldlux {

class PopupModel;

// MsgForm on screen: a frameless strip that never takes the keyboard focus or a task-bar entry,
// and stays on top while the model has put it into the topmost band. It shows the PopupModel (twips
// to pixels at 1440 per logical inch) and hands every press, release and click to the model's
// window events; it decides nothing itself.
class PopupWindow : public QWidget {
  Q_OBJECT
public:
  // twipsPerPixel 0: that of the primary screen.
  explicit PopupWindow(PopupModel& model, double twipsPerPixel = 0, QWidget* parent = nullptr);

  double twipsPerPixel() const { return twipsPerPixel_; }
  int lineWidgetCount() const { return int(zeit_.size()); }
  PopupLabelWidget* zeitLabel(int index) const;
  PopupLabelWidget* textLabel(int index) const;
  PopupLabelWidget* indicatorLabel(Indicator which) const;
  // Paint events of the window and its labels so far.
  int paintCount() const { return paintCount_; }

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void syncGeometry();
  void syncVisible(bool visible);
  void syncStacking(bool topMost);
  void syncLine(int index);
  void syncIndicator(Indicator which);
  void syncBackground();
  PopupLabelWidget* makeLabel(PopupLabelWidget::Kind kind, int index);
  void labelPressed(PopupLabelWidget* label, Qt::MouseButton button,
                    Qt::KeyboardModifiers modifiers);
  void labelReleased(PopupLabelWidget* label);
  void labelClicked(PopupLabelWidget* label);

  PopupModel& model_;
  double twipsPerPixel_;
  std::vector<PopupLabelWidget*> zeit_;
  std::vector<PopupLabelWidget*> text_;
  PopupLabelWidget* sprechwunsch_ = nullptr;
  PopupLabelWidget* spricht_ = nullptr;
  int paintCount_ = 0;
};

} // namespace meldlux
