// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/popup_window.h"

#include "display/popup_model.h"
#include "display/screen_qt.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace meldlux {

PopupWindow::PopupWindow(PopupModel& model, double twipsPerPixel, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      model_(model), twipsPerPixel_(twipsPerPixel > 0 ? twipsPerPixel : QtScreen::twipsPerPixel()) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  setWindowTitle(QStringLiteral("MsgForm"));

  syncLine(0);
  sprechwunsch_ = makeLabel(PopupLabelWidget::Kind::Sprechwunsch, 0);
  spricht_ = makeLabel(PopupLabelWidget::Kind::Spricht, 0);
  syncIndicator(Indicator::Sprechwunsch);
  syncIndicator(Indicator::Spricht);
  for (int i = 1; i < model_.lineCount(); ++i)
    syncLine(i);
  syncGeometry();
  if (model_.topMost())
    syncStacking(true);

  connect(&model_, &PopupModel::geometryChanged, this, &PopupWindow::syncGeometry);
  connect(&model_, &PopupModel::visibleChanged, this, &PopupWindow::syncVisible);
  connect(&model_, &PopupModel::stackingRequested, this, &PopupWindow::syncStacking);
  connect(&model_, &PopupModel::lineChanged, this, &PopupWindow::syncLine);
  connect(&model_, &PopupModel::backColorChanged, this, &PopupWindow::syncBackground);
  connect(&model_.indicators(), &Indicators::changed, this, &PopupWindow::syncIndicator);
  syncVisible(model_.visible());
}

PopupLabelWidget* PopupWindow::zeitLabel(int index) const {
  return index >= 0 && index < int(zeit_.size()) ? zeit_[std::size_t(index)] : nullptr;
}

PopupLabelWidget* PopupWindow::textLabel(int index) const {
  return index >= 0 && index < int(text_.size()) ? text_[std::size_t(index)] : nullptr;
}

PopupLabelWidget* PopupWindow::indicatorLabel(Indicator which) const {
  return which == Indicator::Sprechwunsch ? sprechwunsch_ : spricht_;
}

PopupLabelWidget* PopupWindow::makeLabel(PopupLabelWidget::Kind kind, int index) {
  auto* label = new PopupLabelWidget(kind, index, twipsPerPixel_, this);
  label->installEventFilter(this);
  connect(label, &PopupLabelWidget::pressed, this, &PopupWindow::labelPressed);
  connect(label, &PopupLabelWidget::released, this, &PopupWindow::labelReleased);
  connect(label, &PopupLabelWidget::clicked, this, &PopupWindow::labelClicked);
  return label;
}

void PopupWindow::syncGeometry() {
  const QRect rect(twipsToPixels(model_.left(), twipsPerPixel_),
                   twipsToPixels(model_.top(), twipsPerPixel_),
                   std::max(1, twipsToPixels(model_.width(), twipsPerPixel_)),
                   std::max(1, twipsToPixels(model_.height(), twipsPerPixel_)));
  if (rect != geometry())
    setGeometry(rect);
}

void PopupWindow::syncVisible(bool visible) {
  if (visible == isVisible())
    return;
  if (visible) {
    syncGeometry();
    show();
  } else {
    hide();
  }
}

void PopupWindow::syncStacking(bool topMost) {
  if (topMost != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost); // hides a shown window
    if (wasVisible)
      show();
  }
  if (isVisible())
    raise();
}

void PopupWindow::syncLine(int index) {
  while (index >= int(zeit_.size())) {
    const int next = int(zeit_.size());
    zeit_.push_back(makeLabel(PopupLabelWidget::Kind::Zeit, next));
    text_.push_back(makeLabel(PopupLabelWidget::Kind::Text, next));
    // The indicators stay above the lines.
    if (sprechwunsch_ != nullptr) {
      sprechwunsch_->raise();
      spricht_->raise();
    }
  }
  zeit_[std::size_t(index)]->setLabel(model_.lblZeit(index));
  text_[std::size_t(index)]->setLabel(model_.lblText(index));
}

void PopupWindow::syncIndicator(Indicator which) {
  indicatorLabel(which)->setLabel(model_.indicators().label(which));
}

void PopupWindow::syncBackground() { update(); }

void PopupWindow::paintEvent(QPaintEvent*) {
  ++paintCount_;
  QPainter painter(this);
  painter.fillRect(rect(), toQColor(model_.backColor()));
}

bool PopupWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint)
    ++paintCount_;
  return QWidget::eventFilter(watched, event);
}

void PopupWindow::mousePressEvent(QMouseEvent* event) {
  model_.Form_MouseDown(event->button(), event->modifiers());
}

void PopupWindow::mouseReleaseEvent(QMouseEvent*) { model_.Form_MouseUp(); }

void PopupWindow::labelPressed(PopupLabelWidget* label, Qt::MouseButton button,
                               Qt::KeyboardModifiers modifiers) {
  // Time labels and indicators react to clicks only.
  if (label->kind() == PopupLabelWidget::Kind::Text)
    model_.lblText_MouseDown(label->index(), button, modifiers);
}

void PopupWindow::labelReleased(PopupLabelWidget* label) {
  if (label->kind() == PopupLabelWidget::Kind::Text)
    model_.lblText_MouseUp(label->index());
}

void PopupWindow::labelClicked(PopupLabelWidget* label) {
  switch (label->kind()) {
  case PopupLabelWidget::Kind::Zeit:
    model_.lblZeit_Click(label->index());
    break;
  case PopupLabelWidget::Kind::Sprechwunsch:
    model_.lblSprechwunsch_Click();
    break;
  case PopupLabelWidget::Kind::Spricht:
    model_.lblSpricht_Click();
    break;
  case PopupLabelWidget::Kind::Text:
    break; // the press and release rules did everything
  }
}

} // namespace meldlux
