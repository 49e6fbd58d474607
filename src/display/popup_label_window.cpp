// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/popup_label_window.h"

#include "display/text_metrics_qt.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace meldlux {

QColor toQColor(Colour colour) {
  return QColor(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff);
}

int twipsToPixels(int twips, double twipsPerPixel) {
  const double pixels = std::nearbyint(twips / twipsPerPixel);
  return int(std::clamp(pixels, -16000.0, 16000.0));
}

PopupLabelWidget::PopupLabelWidget(Kind kind, int index, double twipsPerPixel, QWidget* parent)
    : QWidget(parent), kind_(kind), index_(index), twipsPerPixel_(twipsPerPixel) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

bool PopupLabelWidget::setLabel(const Label& label) {
  if (havePainted_ && label == label_)
    return false;
  const bool firstTime = !havePainted_;
  const Label before = label_;
  label_ = label;
  havePainted_ = true;

  const QRect rect(twipsToPixels(label.left, twipsPerPixel_),
                   twipsToPixels(label.top, twipsPerPixel_),
                   std::max(0, twipsToPixels(label.width, twipsPerPixel_)),
                   std::max(0, twipsToPixels(label.height, twipsPerPixel_)));
  if (rect != geometry())
    setGeometry(rect);
  if (firstTime || label.font != before.font || label.bold != before.bold)
    setFont(toQFont(label.font, label.bold));
  if (label.visible != isVisibleTo(parentWidget()))
    setVisible(label.visible);
  if (!firstTime && (label.caption != before.caption || label.foreColor != before.foreColor ||
                     label.backColor != before.backColor || label.font != before.font ||
                     label.bold != before.bold))
    update();
  return true;
}

void PopupLabelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), toQColor(label_.backColor));
  painter.setPen(toQColor(label_.foreColor));
  painter.setFont(font());
  painter.drawText(rect().adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   label_.caption);
}

void PopupLabelWidget::mousePressEvent(QMouseEvent* event) {
  pressedHere_ = true;
  Q_EMIT pressed(this, event->button(), event->modifiers());
}

void PopupLabelWidget::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressedHere_ && rect().contains(event->position().toPoint());
  pressedHere_ = false;
  Q_EMIT released(this);
  if (click)
    Q_EMIT clicked(this);
}

} // namespace meldlux
